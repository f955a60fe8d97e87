#!/usr/bin/env bash
# Mutation run: changes one line of engine or game code at a time, rebuilds
# and runs the test suite, and reports whether some test noticed (killed) or
# not (survived). A mutant the suite survives is behaviour no test guards.
#
#   tools/mutate.sh [-b FOLDER] [-m REGEX] [-t REGEX] [LIST...]
#     -b FOLDER  build folder (default build-mut; configured as a Debug build)
#     -m REGEX   only the mutants whose line matches REGEX
#     -t REGEX   only the tests matching REGEX (ctest -R), for quick checks
#     LIST       mutant lists (default tools/mutants/*.txt)
#
# A list has one mutant per line:
#   FILE :: ORIGINAL TEXT ~> MUTATED TEXT
# The original text must occur exactly once in FILE. "#" starts a comment
# line. A mutant known to change nothing observable ends with
# "  # equivalent: why", and is reported apart from the others.
# Tests run in two rounds: first all but the window, terminal and package
# tests, then (if nothing failed) the window and terminal tests; the package
# tests, which build a consumer project, are left out. The per-mutant result
# and the first failing test go to FOLDER/mutants.log; the source tree is
# restored after each mutant, also on interruption.
set -uo pipefail
cd "$(dirname "$0")/.."
build=build-mut tests=""
filter="."
while getopts "b:m:t:" opt; do
  case $opt in
    b) build=$OPTARG ;;
    m) filter=$OPTARG ;;
    t) tests=$OPTARG ;;
    *) sed -n '2,12p' "$0" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
lists=("$@")
[ ${#lists[@]} -eq 0 ] && lists=(tools/mutants/*.txt)
log=$build/mutants.log
jobs=${JOBS:-$(nproc)}

build_tree() {
  cmake --build "$build" -j "$jobs" > "$build/mutant-build.log" 2>&1
}

# Runs the suite; prints the first failing test's name; status 0 when all pass.
run_suite() {
  local select=()
  [ -n "$tests" ] && select=(-R "$tests")
  local round
  for round in "-LE window|terminal|package" "-L window|terminal"; do
    # shellcheck disable=SC2086
    if ! (cd "$build" && ctest -j "$jobs" --timeout 300 --stop-on-failure $round "${select[@]}") \
        > "$build/mutant-tests.log" 2>&1; then
      grep -m1 -E '\*\*\*(Failed|Timeout|Exception)|Failed  |Not Run' "$build/mutant-tests.log" |
        sed -E 's/.*Test +#[0-9]+: ([^ ]+).*/\1/'
      return 1
    fi
  done
  return 0
}

original=""
target=""
restore() {
  if [ -n "$target" ]; then
    printf '%s' "$original" > "$target"
    target=""
  fi
}
trap 'restore; echo "interrupted: source restored" >&2; exit 130' INT TERM

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DTARNWICK_BUILD_BENCHMARKS=OFF > /dev/null || exit 1
fi
echo "Building and checking the unchanged tree in $build ..."
if ! build_tree; then echo "The unchanged tree does not build: $build/mutant-build.log" >&2; exit 1; fi
if ! first=$(run_suite); then
  echo "The unchanged tree fails a test ($first): $build/mutant-tests.log" >&2
  exit 1
fi
: > "$log"

killed=0 survived=0 equivalent=0 broken=0
while IFS= read -r line; do
  case $line in ''|'#'*) continue ;; esac
  [[ $line =~ $filter ]] || continue
  file=${line%% :: *}
  rest=${line#* :: }
  note=""
  if [[ $rest == *"  # equivalent:"* ]]; then
    note=${rest#*  # equivalent:}
    rest=${rest%%  # equivalent:*}
  fi
  from=${rest%% ~> *}
  to=${rest#* ~> }
  if [ ! -f "$file" ]; then
    echo "NO FILE    $line" | tee -a "$log"; broken=$((broken + 1)); continue
  fi
  IFS= read -rd '' original < "$file"
  after=${original#*"$from"}
  if [ "$after" = "$original" ] || [[ $after == *"$from"* ]]; then
    echo "NOT UNIQUE $line" | tee -a "$log"; broken=$((broken + 1)); continue
  fi
  target=$file
  printf '%s' "${original%%"$from"*}$to$after" > "$file"
  if ! build_tree; then
    result="NO BUILD  "; broken=$((broken + 1))
  elif failing=$(run_suite); then
    if [ -n "$note" ]; then result="EQUIVALENT"; equivalent=$((equivalent + 1))
    else result="SURVIVED  "; survived=$((survived + 1)); fi
  else
    result="KILLED    "; killed=$((killed + 1))
    line="$line   [by $failing]"
  fi
  restore
  echo "$result $line" | tee -a "$log"
done < <(cat "${lists[@]}")

build_tree || echo "The restored tree does not build: $build/mutant-build.log" >&2
counted=$((killed + survived))
echo "Killed $killed of $counted mutants that change behaviour" \
     "($((counted ? 100 * killed / counted : 0)) %); $equivalent equivalent," \
     "$broken not applied or not built. Details: $log" | tee -a "$log"
