#!/usr/bin/env bash
# Runs the test suite on a loaded machine, as CI's shared machine may be:
# two busy processes per core run beside it for the whole run. A test that
# depends on an idle machine fails here. Repeats the suite RUNS times in a
# row (stopping at the first failure) and says how many passed.
#   tools/run-loaded.sh FOLDER JOBS [RUNS]
set -uo pipefail
dir=$1 jobs=$2 runs=${3:-1}
busy=()
stop_busy() {
  for pid in "${busy[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
}
trap stop_busy EXIT
trap 'exit 130' INT TERM
cores=$(nproc)
for _ in $(seq $((2 * cores))); do
  (while :; do :; done) &
  busy+=($!)
done
echo "Loaded: ${#busy[@]} busy processes beside the tests ($cores cores)"
for run in $(seq "$runs"); do
  echo "Run $run of $runs"
  if ! bash "$(dirname "$0")/run-tests.sh" "$dir" "$jobs"; then
    echo "Loaded run $run of $runs failed" >&2
    exit 1
  fi
done
echo "All $runs loaded runs passed"
