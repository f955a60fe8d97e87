# Two commands for a fresh Debian 12 machine:
#   make run   installs what is missing, builds, starts the game
#   make test  installs what is missing, builds, runs every test with ctest
# make test-asan runs the same tests under AddressSanitizer and UBSan;
# make bench runs the benchmarks; make fuzz runs each fuzz harness for
# FUZZ_SECONDS seconds (clang's libFuzzer).

BUILD        ?= build
ASAN_BUILD   ?= build-asan
FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS         ?= $(shell nproc)

.PHONY: all deps build run test test-asan bench fuzz clean

all: build

deps:
	@bash tools/install-deps.sh

$(BUILD)/Makefile: CMakeLists.txt
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@bash tools/run-game.sh $(BUILD)/bin

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTW_SANITIZE=ON -DTW_BENCH=OFF > /dev/null
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS)

bench: build
	cd $(BUILD)/bin && for b in ./bench_*; do $$b; done

fuzz:
	@bash tools/install-deps.sh fuzz
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
	  -DTW_FUZZ=ON -DTW_BENCH=OFF > /dev/null
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_sprite fuzz_config fuzz_record
	bash tools/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
