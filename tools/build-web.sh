#!/usr/bin/env bash
# Builds the browser build (Emscripten), the first time configuring it, then
# only what changed: the engine, Veld and the examples laid out as static
# pages in FOLDER/site (with the gallery in FOLDER/site/gallery); the browser
# package installed into FOLDER/package; and the catch example built against
# that package as a game of one's own would build it (examples/web-consumer)
# in FOLDER/consumer/site.
#   tools/build-web.sh FOLDER JOBS
set -euo pipefail
dir=$1 jobs=$2
# Debian's Emscripten runs its JavaScript optimizer with the machine's Node,
# which finds Debian's acorn only here.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
toolchain=$(em-config EMSCRIPTEN_ROOT)/cmake/Modules/Platform/Emscripten.cmake
bash tools/build.sh "$dir" "$jobs" -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DTARNWICK_WEB_TEST_HOOKS=ON
package=$(cd "$dir" && pwd)/package
if ! cmake --install "$dir" --prefix "$package" > "$dir/install.log" 2>&1; then
  echo "Installing the browser package into $package failed; the output is in $dir/install.log" >&2
  exit 1
fi
consumer=$dir/consumer
mkdir -p "$consumer"
if ! cmake -S examples/web-consumer -B "$consumer" -DCMAKE_BUILD_TYPE=Release \
       -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_PREFIX_PATH="$package" \
       > "$consumer/configure.log" 2>&1; then
  echo "Configuring $consumer failed; CMake's output is in $consumer/configure.log" >&2
  exit 1
fi
if ! cmake --build "$consumer" -j "$jobs" > "$consumer/build.log" 2>&1; then
  grep -m5 -i error "$consumer/build.log" >&2
  echo "Building $consumer failed; the output is in $consumer/build.log" >&2
  exit 1
fi
echo "The pages are in $dir/site (index.html plays Veld); make web-serve serves them."
