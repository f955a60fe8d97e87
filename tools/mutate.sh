#!/usr/bin/env bash
# Mutation run: changes one line of engine or game code at a time, rebuilds
# and runs the test suite, and reports whether some test noticed (killed) or
# not (survived). A mutant the suite survives is behaviour no test guards.
#
#   tools/mutate.sh [-c] [-b FOLDER] [-m REGEX] [-t REGEX] [LIST...]
#     -c         only check that every mutant still matches its file
#     -b FOLDER  build folder (default build-mut; a Debug build with the engine
#                and the game's classes as shared libraries, TW_SHARED_INSIDES)
#     -m REGEX   only the mutants whose line matches REGEX
#     -t REGEX   only the tests matching REGEX (ctest -R) for every mutant
#     LIST       mutant lists (default tools/mutants/*.txt)
#   JOBS=N       build and test jobs (default: the number of cores)
#
# A list has one mutant per line:
#   FILE :: ORIGINAL TEXT ~> MUTATED TEXT
# The original text must occur exactly once in FILE: before anything is
# built every selected mutant is checked, and one that no longer matches (a
# reformatted or removed line) stops the run with its name, rather than
# being skipped. "#" starts a comment line. A line "@tests REGEX" makes the
# mutants after it in the same list run only the tests matching REGEX (the
# ones that should catch them), which keeps a run affordable; -t overrides
# it. A mutant known to change nothing observable ends with
# "  # equivalent: why", and is reported apart from the others.
# The unchanged tree must first pass every test the selected mutants will
# run. Tests run in two rounds: first all but the window, terminal and package
# tests, then (if nothing failed) the window and terminal tests; the package
# tests, which build a consumer project, are left out. The per-mutant result
# and the first failing test go to FOLDER/mutants.log. Mutants are made in a
# copy of the tree (FOLDER-source, brought up to date with the working tree
# at the start of each run), never in the working tree itself, so a run that
# is killed leaves the working tree as it was; the copy is restored after
# each mutant. A mutant of a browser source (engine/*/Web*.cpp, PageSockets.cpp) also rebuilds
# the browser build from the copy (FOLDER-web) for the web tests; the other
# mutants' web tests play the working tree's build-web. The summary gives the
# kill rate of each list (one list per subsystem) and of all together.
set -uo pipefail
cd "$(dirname "$0")/.."
build=build-mut tests="" check_only=0
filter="."
while getopts "cb:m:t:" opt; do
  case $opt in
    c) check_only=1 ;;
    b) build=$OPTARG ;;
    m) filter=$OPTARG ;;
    t) tests=$OPTARG ;;
    *) sed -n '2,13p' "$0" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
lists=("$@")
[ ${#lists[@]} -eq 0 ] && lists=(tools/mutants/*.txt)
log=$build/mutants.log
jobs=${JOBS:-$(nproc)}
src=$(pwd)/${build%/}-source
web=$(pwd)/build-web

build_tree() {
  cmake --build "$build" -j "$jobs" > "$build/mutant-build.log" 2>&1
}

# The sources only the browser build compiles, and the page's drawing list
# (PageFrame), which both builds compile and the page tests draw.
# (The WebSocket sources serve native hosts: their mutants need no browser build.)
is_web_source() {
  [[ ($1 == engine/*/Web*.cpp && $1 != engine/*/WebSocket*.cpp) ||
     $1 == engine/platform/PageSockets.cpp || $1 == engine/display/PageFrame.cpp ]]
}

build_web() {
  (cd "$src" && bash tools/build-web.sh "$web" "$jobs") > "$build/mutant-web-build.log" 2>&1
}

# Brings the copy up to date: a file that differs is copied afresh (a new
# time, so it is rebuilt), one that is the same keeps its time.
refresh_copy() {
  local f
  mkdir -p "$src"
  while IFS= read -r -d '' f; do
    [ -e "$f" ] || continue
    if ! cmp -s "$f" "$src/$f"; then
      mkdir -p "$src/$(dirname "$f")"
      cp -d "$f" "$src/$f"
    fi
  done < <(git ls-files -co --exclude-standard -z)
}

# Runs the suite (or the tests matching $1); prints the first failing
# test's name; status 0 when all pass.
run_suite() {
  local select=()
  [ -n "${1:-}" ] && select=(-R "$1")
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
trap 'restore; echo "interrupted: the copy restored (the working tree was never changed)" >&2; exit 130' INT TERM

# Every selected mutant as one record per line: list, tests regex, line.
select_mutants() {
  local list line chosen
  for list in "${lists[@]}"; do
    chosen=""
    while IFS= read -r line; do
      case $line in
        '@tests '*) chosen=${line#@tests } ; continue ;;
        ''|'#'*) continue ;;
      esac
      [[ $line =~ $filter ]] || continue
      printf '%s\t%s\t%s\n' "$list" "${tests:-$chosen}" "$line"
    done < "$list"
  done
}

# The parts of a mutant line: file, from, to, note.
split_mutant() {
  file=${1%% :: *}
  local rest=${1#* :: }
  note=""
  if [[ $rest == *"  # equivalent:"* ]]; then
    note=${rest#*  # equivalent:}
    rest=${rest%%  # equivalent:*}
  fi
  from=${rest%% ~> *}
  to=${rest#* ~> }
}

# Whether from occurs exactly once in the file's text.
occurs_once() {
  local text=$1 after=${1#*"$from"}
  [ "$after" != "$text" ] && [[ $after != *"$from"* ]]
}

mapfile -t records < <(select_mutants)
stale=0
for record in "${records[@]}"; do
  line=${record#*$'\t'}; line=${line#*$'\t'}
  split_mutant "$line"
  if [ ! -f "$file" ]; then
    echo "NO FILE    $line" >&2; stale=$((stale + 1)); continue
  fi
  IFS= read -rd '' original < "$file"
  if ! occurs_once "$original"; then echo "NO MATCH   $line" >&2; stale=$((stale + 1)); fi
done
if [ "$stale" -gt 0 ]; then
  echo "$stale mutant(s) no longer match their file (above): update their original text." >&2
  exit 1
fi
echo "${#records[@]} mutants selected."
[ "$check_only" -eq 1 ] && exit 0

# The engine and the game's classes as shared libraries that the programs do
# not relink against: a mutant rebuilds one object and one library.
mkdir -p "$build"
refresh_copy
for record in "${records[@]}"; do
  line=${record#*$'\t'}; line=${line#*$'\t'}
  split_mutant "$line"
  is_web_source "$file" && web=$(pwd)/${build%/}-web
done
cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DTARNWICK_BUILD_BENCHMARKS=OFF \
  -DTW_SHARED_INSIDES=ON -DTW_WEB_BUILD="$web" > "$build/mutant-configure.log" 2>&1 ||
  { echo "Configuring $build failed: $build/mutant-configure.log" >&2; exit 1; }
echo "Building and checking the unchanged tree in $build ..."
if ! build_tree; then echo "The unchanged tree does not build: $build/mutant-build.log" >&2; exit 1; fi
if [ "$web" != "$(pwd)/build-web" ] && ! build_web; then
  echo "The unchanged browser build fails: $build/mutant-web-build.log" >&2; exit 1
fi
# The unchanged tree must pass the tests the selected mutants will run.
union=$tests
if [ -z "$union" ]; then
  for record in "${records[@]}"; do
    rest=${record#*$'\t'}
    chosen=${rest%%$'\t'*}
    if [ -z "$chosen" ]; then union=""; break; fi
    case "|$union|" in *"|$chosen|"*) ;; *) union=${union:+$union|}$chosen ;; esac
  done
fi
if ! first=$(run_suite "$union"); then
  echo "The unchanged tree fails a test ($first): $build/mutant-tests.log" >&2
  exit 1
fi
: > "$log"

killed=0 survived=0 equivalent=0 broken=0
declare -A list_killed list_counted list_equivalent
for record in "${records[@]}"; do
  list=${record%%$'\t'*}
  rest=${record#*$'\t'}
  chosen=${rest%%$'\t'*}
  line=${rest#*$'\t'}
  split_mutant "$line"
  IFS= read -rd '' original < "$src/$file"
  after=${original#*"$from"}
  target=$src/$file
  printf '%s' "${original%%"$from"*}$to$after" > "$target"
  if ! build_tree || { is_web_source "$file" && ! build_web; }; then
    result="NO BUILD  "; broken=$((broken + 1))
  elif failing=$(run_suite "$chosen"); then
    if [ -n "$note" ]; then
      result="EQUIVALENT"; equivalent=$((equivalent + 1))
      list_equivalent[$list]=$(( ${list_equivalent[$list]:-0} + 1 ))
    else
      result="SURVIVED  "; survived=$((survived + 1))
      list_counted[$list]=$(( ${list_counted[$list]:-0} + 1 ))
    fi
  else
    result="KILLED    "; killed=$((killed + 1))
    list_killed[$list]=$(( ${list_killed[$list]:-0} + 1 ))
    list_counted[$list]=$(( ${list_counted[$list]:-0} + 1 ))
    line="$line   [by $failing]"
  fi
  restore
  is_web_source "$file" && web_touched=1
  echo "$result $line" | tee -a "$log"
done

build_tree || echo "The restored copy does not build: $build/mutant-build.log" >&2
[ -n "${web_touched:-}" ] && { build_web || echo "The restored browser build fails" >&2; }
for list in "${lists[@]}"; do
  k=${list_killed[$list]:-0} c=${list_counted[$list]:-0}
  [ $((c + ${list_equivalent[$list]:-0})) -eq 0 ] && continue
  echo "$(basename "$list" .txt): killed $k of $c ($((c ? 100 * k / c : 0)) %)," \
       "${list_equivalent[$list]:-0} equivalent" | tee -a "$log"
done
counted=$((killed + survived))
echo "Killed $killed of $counted mutants that change behaviour" \
     "($((counted ? 100 * killed / counted : 0)) %); $equivalent equivalent," \
     "$broken not built. Details: $log" | tee -a "$log"
[ "$broken" -eq 0 ]
