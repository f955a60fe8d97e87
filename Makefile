# Two commands for a fresh Debian 12 machine:
#   make run   installs what is missing, builds, starts the game
#   make test  installs what is missing, builds, runs every test with ctest
# make test-asan runs the same tests under AddressSanitizer and UBSan;
# make bench runs the benchmarks in a Release build (build-rel/).

BUILD      ?= build
ASAN_BUILD ?= build-asan
REL_BUILD  ?= build-rel
JOBS       ?= $(shell nproc)

.PHONY: all deps build run test test-asan bench clean

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

# Timings come from optimised code; tests are not built for them.
bench: deps
	cmake -S . -B $(REL_BUILD) -DCMAKE_BUILD_TYPE=Release > /dev/null
	cmake --build $(REL_BUILD) -j $(JOBS) --target benchmarks
	cd $(REL_BUILD)/bin && for b in ./bench_*; do $$b; done

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(REL_BUILD)
