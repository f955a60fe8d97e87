#!/usr/bin/env bash
# Runs ctest in a build folder and prints its summary: how many tests passed,
# the ones that failed, the time by label. Every test's own output is in
# FOLDER/ctest.log, which a failure points to.
#   tools/run-tests.sh FOLDER JOBS [ctest options...]
set -uo pipefail
dir=$1 jobs=$2
shift 2
log=$dir/ctest.log
echo "Running the tests (every test's output: $log) ..."
(cd "$dir" && ctest --output-on-failure -j "$jobs" "$@") > "$log" 2>&1
status=$?
sed -n '/% tests passed/,$p' "$log"
if [ "$status" -ne 0 ]; then
  grep -q '% tests passed' "$log" || tail -n 20 "$log"
  echo "Tests failed: each failing test's output is in $log" >&2
fi
exit "$status"
