#!/usr/bin/env bash
# Builds the consumer project in this folder (and the README's first game)
# against the engine one way and runs it; fails on the first step that does
# not work.
#   run.sh package          ENGINE_SOURCE ENGINE_BUILD WORK
#     installs ENGINE_BUILD into WORK/prefix, builds with find_package and
#     with pkg-config, and runs both programs from another folder
#   run.sh shared           ENGINE_SOURCE - WORK
#     builds the engine as a shared library (with Veld and the examples, which
#     must link against its exported API alone), checks its SONAME and that
#     it exports nothing but the public API, installs it into WORK/prefix and
#     builds and runs the consumer against it
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
  cmake -S "$here" -B "$work/build" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-O0 \
    -DTARNWICK_README="$source/README.md" "$@" \
    > "$work/configure.log" || fail "configuring, see $work/configure.log"
  cmake --build "$work/build" -j 2 > "$work/build.log" || fail "building, see $work/build.log"
  [ -f "$work/build/tw-font.ttf" ] || fail "tarnwick_copy_font put no font beside the program"
  "$work/build/readme_game" --help > /dev/null || fail "the README's first game does not run (--help)"
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
  shared)
    prefix=$work/prefix
    cmake -S "$source" -B "$work/engine" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-O0 \
      -DBUILD_SHARED_LIBS=ON -DTARNWICK_BUILD_GAME=ON -DTARNWICK_BUILD_EXAMPLES=ON \
      > "$work/engine-configure.log" || fail "configuring the shared engine, see $work/engine-configure.log"
    cmake --build "$work/engine" -j 2 > "$work/engine-build.log" ||
      fail "building the shared engine, Veld and the examples, see $work/engine-build.log"
    cmake --install "$work/engine" --prefix "$prefix" > "$work/install.log"
    lib=$(find "$prefix/lib" -name 'libtarnwick.so.*.*' | head -n 1)
    [ -n "$lib" ] || fail "no libtarnwick.so.MAJOR.MINOR.PATCH installed"
    soname=$(readelf -d "$lib" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
    major=$(sed -n 's/^#define TARNWICK_VERSION_MAJOR //p' "$prefix/include/engine/core/Version.h")
    [ "$soname" = "libtarnwick.so.$major" ] || fail "SONAME is '$soname', not libtarnwick.so.$major"
    # Every exported engine name is declared in an installed header, and none
    # is a class the engine keeps inside (defined in a header not installed).
    nm -D --defined-only "$lib" | c++filt | sed -nE 's/^[0-9a-f]+ . ((typeinfo name|typeinfo|vtable|VTT|guard variable) for |(non-)?virtual thunk to )?tw::([A-Za-z_0-9]+).*/\4/p' |
      sort -u > "$work/exported"
    (cd "$source" && find engine -name '*.h' | grep -vxFf <(grep '^engine/' engine/public-headers.txt) |
       xargs sed -nE 's/^(class|struct) ([A-Za-z_0-9]+)[^;]*$/\2/p') | sort -u > "$work/inside"
    while read -r name; do
      grep -rqw -- "$name" "$prefix/include" || fail "libtarnwick exports tw::$name, which no public header declares"
      ! grep -qxF -- "$name" "$work/inside" || fail "libtarnwick exports tw::$name, one of the engine's insides"
    done < "$work/exported"
    echo "libtarnwick exports $(nm -D --defined-only "$lib" | wc -l) symbols, of $(wc -l < "$work/exported") engine names"
    configure_and_build -DCMAKE_PREFIX_PATH="$prefix"
    run_consumer "$work/build/consumer"
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
