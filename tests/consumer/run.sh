#!/usr/bin/env bash
# Builds the consumer project in this folder against the engine one way and
# runs it; fails on the first step that does not work.
#   run.sh package          ENGINE_SOURCE ENGINE_BUILD WORK
#     installs ENGINE_BUILD into WORK/prefix, builds with find_package and
#     with pkg-config, and runs both programs from another folder
#   run.sh add_subdirectory ENGINE_SOURCE - WORK
#   run.sh fetchcontent     ENGINE_SOURCE - WORK
#     builds the engine inside the consumer's tree (library only)
set -euo pipefail
route=$1 source=$2 engine_build=$3 work=$4
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$work"
mkdir -p "$work/run"

fail() { echo "FAILED: $*" >&2; exit 1; }

# Runs a built consumer program from a folder that holds no font or data.
run_consumer() {
  (cd "$work/run" && "$1") || fail "$1 did not show its frame (log: $work/run/tarnwick.log)"
}

configure_and_build() {
  cmake -S "$here" -B "$work/build" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-O0 "$@" \
    > "$work/configure.log" || fail "configuring, see $work/configure.log"
  cmake --build "$work/build" -j 2 > "$work/build.log" || fail "building, see $work/build.log"
  [ -f "$work/build/tw-font.ttf" ] || fail "tarnwick_copy_font put no font beside the program"
}

case "$route" in
  package)
    prefix=$work/prefix
    cmake --install "$engine_build" --prefix "$prefix" > "$work/install.log"
    for f in lib/libtarnwick.a include/engine/loop/GameManager.h share/tarnwick/tw-font.ttf \
             lib/cmake/Tarnwick/TarnwickConfig.cmake lib/pkgconfig/tarnwick.pc; do
      [ -f "$prefix/$f" ] || fail "cmake --install did not install $f"
    done
    configure_and_build -DCMAKE_PREFIX_PATH="$prefix"
    run_consumer "$work/build/consumer"
    flags=$(PKG_CONFIG_PATH=$prefix/lib/pkgconfig pkg-config --cflags --libs tarnwick)
    # shellcheck disable=SC2086
    g++ -o "$work/consumer-pc" "$here/main.cpp" $flags || fail "building with pkg-config ($flags)"
    run_consumer "$work/consumer-pc"
    ;;
  add_subdirectory|fetchcontent)
    configure_and_build -DTARNWICK_ROUTE="$route" -DTARNWICK_SOURCE="$source"
    # Only the library: no game, tests or benchmarks of the engine's own.
    if cmake --build "$work/build" --target help | grep -Eq 'veld|_tests|bench_'; then
      fail "the engine built its game, tests or benchmarks inside the consumer"
    fi
    run_consumer "$work/build/consumer"
    ;;
  *) fail "unknown route $route" ;;
esac
echo "consumer built through $route: ok"
