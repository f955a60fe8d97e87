#!/usr/bin/env bash
# Runs each fuzz harness for a while, seeded from the test corpora under
# tests/data; new inputs go to <build>/corpus/<name>, a failing input to
# <build>/artifacts/. Exits non-zero as soon as a harness finds a fault.
#   tools/run-fuzzers.sh <build folder> <seconds per harness>
set -euo pipefail
build=${1:?build folder}
seconds=${2:?seconds per harness}
root="$(cd "$(dirname "$0")/.." && pwd)"

# Each harness with the folder of test files it starts from.
HARNESSES=(
  "fuzz_sprite tests/data/sprites"
  "fuzz_config tests/data/config"
  "fuzz_record tests/data/records"
  "fuzz_network tests/data/messages"
  "fuzz_replay tests/data/replays"
  "fuzz_terminal tests/data/terminal"
  "fuzz_score tests/data/best-score"
  "fuzz_websocket tests/data/websocket"
  "fuzz_font tests/data/fonts"
)

mkdir -p "$build/artifacts"
for harness in "${HARNESSES[@]}"; do
  name=${harness%% *} seeds=${harness#* }
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  echo "== $name: ${seconds} s"
  set +e
  "$build/bin/$name" "$corpus" "$root/$seeds" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
    -artifact_prefix="$build/artifacts/$name-" -print_final_stats=1 2>&1 |
    grep -E '^(INFO: (seed|-max_len|A corpus)|#[0-9]+ *DONE|stat::number_of_executed_units|stat::peak_rss)|ERROR|SUMMARY|fuzz invariant|==[0-9]+==|runtime error'
  status=${PIPESTATUS[0]}
  set -e
  if [ "$status" -ne 0 ]; then
    echo "$name failed (exit $status); the input is in $build/artifacts/" >&2
    exit 1
  fi
done
echo "fuzz: ${#HARNESSES[@]} passed, 0 failed"
