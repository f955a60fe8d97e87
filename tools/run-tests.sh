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

# What each failed test said about its failure: the lines of its output that
# name one (at most 8), else its last 8 lines. A CI log that keeps only its
# tail then still shows why.
failure_lines() {
  awk '
    function flush(   i, n, shown) {
      if (name == "") return
      print "--- " name " said:"
      for (i = 1; i <= count && shown < 8; i++)
        if (lines[i] ~ /FAIL|Failure|[Ee]rror|timed out|Expected|Which is|Value of|Actual|assert/) {
          print "  " lines[i]; shown++
        }
      for (i = (count > 8 ? count - 7 : 1); !shown && i <= count; i++) print "  " lines[i]
      name = ""; count = 0
    }
    /^ *[0-9]+\/[0-9]+ Test +#[0-9]+: / {
      flush()
      if ($0 ~ /\*\*\*/) { name = $4 }
      next
    }
    /^ *Start +[0-9]+: |% tests passed/ { flush(); next }
    name != "" && NF { lines[++count] = $0 }
    END { flush() }
  ' "$1"
}
sed -n '/% tests passed/,$p' "$log"
if [ "$status" -ne 0 ]; then
  grep -q '% tests passed' "$log" || tail -n 20 "$log"
  failure_lines "$log"
  echo "Tests failed: each failing test's output is in $log" >&2
fi
exit "$status"
