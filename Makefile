# Two commands for a fresh Debian 12 machine:
#   make run   installs what is missing, builds, starts the game
#   make test  installs what is missing, builds, runs every test with ctest
# make test-loaded runs them beside two busy processes per core (LOADED_RUNS times);
# make test-asan runs the same tests under AddressSanitizer and UBSan;
# make bench runs the benchmarks in a Release build (build-rel/); make fuzz runs each fuzz harness for
# FUZZ_SECONDS seconds (clang's libFuzzer); make docs writes the documentation
# site (guide, reference, examples, API) into build/docs/html. make web builds
# Veld and the examples for the browser into build-web/site; make web-serve
# serves that folder.
# Each prints one line for what it installs, the build's progress and then
# the game, the test summary or the result; the installer's, CMake's and each
# test's full output are in log files under the build folder, named on failure.

BUILD        ?= build
ASAN_BUILD   ?= build-asan
FUZZ_BUILD   ?= build-fuzz
LOADED_RUNS  ?= 1
REL_BUILD    ?= build-rel
WEB_BUILD    ?= build-web
WEB_PORT     ?= 8000
FUZZ_SECONDS ?= 60
JOBS         ?= $(shell nproc)

# The build's own make runs inside this one: keep it from announcing every
# folder it enters and leaves.
MAKEFLAGS += --no-print-directory

.PHONY: all deps build run test test-loaded test-asan bench fuzz docs web web-serve web-bench web-bench-network clean

all: build

deps:
	@TW_DEPS_LOG=$(BUILD)/install-deps.log bash tools/install-deps.sh

# The tests, Veld and the examples are switched on explicitly: a build
# folder once configured without them (as an install might do) must never
# leave make test running test programs built before the engine changed.
BUILD_OPTIONS = -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNWICK_BUILD_TESTS=ON \
  -DTARNWICK_BUILD_GAME=ON -DTARNWICK_BUILD_EXAMPLES=ON

build: deps
	@bash tools/build.sh $(BUILD) $(JOBS) $(BUILD_OPTIONS)

# Only what the game needs (the library, Veld, its data and the font), so
# that it plays without waiting for every test program.
run: deps
	@bash tools/build.sh $(BUILD) $(JOBS) $(BUILD_OPTIONS) -- veld
	@bash tools/run-game.sh $(BUILD)/bin

# The web tests play the pages that make web built.
test: build web
	@bash tools/run-tests.sh $(BUILD) $(JOBS)

# The same tests with two busy processes per core beside them (LOADED_RUNS
# times in a row): no test may depend on an idle machine.
test-loaded: build web
	@bash tools/run-loaded.sh $(BUILD) $(JOBS) $(LOADED_RUNS)

web:
	@TW_DEPS_LOG=$(WEB_BUILD)/install-deps.log bash tools/install-deps.sh web
	@bash tools/build-web.sh $(WEB_BUILD) $(JOBS)

web-serve: web
	@node tools/web-serve.mjs $(WEB_BUILD)/site $(WEB_PORT) --watch game

# The browser build's figures; the Veld replay uses the session the web
# tests recorded natively (make test first).
web-bench: web
	node --experimental-websocket bench/web/figures.mjs $(WEB_BUILD)/site \
	  $(wildcard $(BUILD)/tests/web-work/session.rec)

# A page's round trip to a native host against the native peers', all from
# optimised code in one run.
web-bench-network: web
	cmake -S . -B $(REL_BUILD) -DCMAKE_BUILD_TYPE=Release -DTARNWICK_BUILD_BENCHMARKS=ON > /dev/null
	cmake --build $(REL_BUILD) -j $(JOBS) --target bench_network bench_echo_host
	node --experimental-websocket bench/web/network.mjs $(WEB_BUILD)/site $(REL_BUILD)/bin

test-asan: deps
	@bash tools/build.sh $(ASAN_BUILD) $(JOBS) -DCMAKE_BUILD_TYPE=Debug -DTW_SANITIZE=ON \
	  -DTARNWICK_BUILD_BENCHMARKS=OFF
	@ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  bash tools/run-tests.sh $(ASAN_BUILD) $(JOBS)

# Timings come from optimised code; tests are not built for them, and
# make test builds no benchmark.
bench:
	@TW_DEPS_LOG=$(REL_BUILD)/install-deps.log bash tools/install-deps.sh bench
	cmake -S . -B $(REL_BUILD) -DCMAKE_BUILD_TYPE=Release -DTARNWICK_BUILD_BENCHMARKS=ON > /dev/null
	cmake --build $(REL_BUILD) -j $(JOBS) --target benchmarks
	cd $(REL_BUILD)/bin && for b in ./bench_*; do $$b; done

fuzz:
	@TW_DEPS_LOG=$(FUZZ_BUILD)/install-deps.log bash tools/install-deps.sh fuzz
	@bash tools/build.sh $(FUZZ_BUILD) $(JOBS) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=clang++-14 -DTW_FUZZ=ON -DTARNWICK_BUILD_BENCHMARKS=OFF \
	  -- fuzz_sprite fuzz_config fuzz_record fuzz_network fuzz_replay fuzz_terminal fuzz_score \
	  fuzz_websocket fuzz_font
	bash tools/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

docs:
	@TW_DEPS_LOG=$(BUILD)/install-deps.log bash tools/install-deps.sh docs
	@mkdir -p build/docs
	@for example in examples/*.cpp; do \
	  grep -q "^.example $$(basename $$example)$$" docs/examples.dox || \
	    { echo "$$example has no page: add an example block for it to docs/examples.dox"; exit 1; }; \
	done
	@{ cat docs/Doxyfile; echo "INPUT += $$(grep '^engine/' engine/public-headers.txt | tr '\n' ' ')"; } | \
	  doxygen - && echo "Documentation: build/docs/html/index.html"

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(REL_BUILD) $(WEB_BUILD)
