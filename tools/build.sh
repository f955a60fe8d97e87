#!/usr/bin/env bash
# Configures and builds one build folder, printing only what is being done:
# each file compiled or program linked, warnings and errors. CMake's own
# configuration output goes to FOLDER/configure.log.
#   tools/build.sh FOLDER JOBS [cmake options...] [-- build targets...]
set -uo pipefail
dir=$1 jobs=$2
shift 2
options=() targets=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do options+=("$1"); shift; done
[ $# -gt 0 ] && shift
for t in "$@"; do targets+=(--target "$t"); done

mkdir -p "$dir"
if ! cmake -S . -B "$dir" "${options[@]}" > "$dir/configure.log" 2>&1; then
  grep -A4 -m3 "CMake Error" "$dir/configure.log" >&2
  echo "Configuring $dir failed; CMake's output is in $dir/configure.log" >&2
  exit 1
fi
echo "Building $dir ..."
# Lines for targets already up to date say nothing; make's folder changes
# neither.
cmake --build "$dir" -j "$jobs" "${targets[@]}" -- --no-print-directory 2>&1 |
  grep --line-buffered -v -e '] Built target ' -e '^Consolidate compiler generated dependencies'
status=${PIPESTATUS[0]}
[ "$status" -eq 0 ] || echo "Building $dir failed (see the errors above)" >&2
exit "$status"
