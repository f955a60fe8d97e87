#!/usr/bin/env bash
# Checks the engine's public face against an install of the build into a
# temporary prefix:
#   - the installed headers are exactly engine/public-headers.txt, and exactly
#     the list in the README's "Public headers" table; tarnwick.h includes
#     every other one;
#   - every engine header an installed header includes is installed too, and
#     none includes SFML or curses;
#   - each installed header compiles on its own from the installed tree alone;
#   - every class, struct and function it declares at namespace level carries
#     TW_API, so that a shared library exports it (templates excepted).
#   check-public-headers.sh SOURCE_DIR BUILD_DIR CXX
set -uo pipefail
source_dir=$1 build_dir=$2 cxx=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
problems=0
problem() { echo "$*" >&2; problems=$((problems + 1)); }

cmake --install "$build_dir" --prefix "$work/prefix" > "$work/install.log" 2>&1 ||
  { cat "$work/install.log" >&2; exit 1; }
include=$work/prefix/include

(cd "$include" && find engine tarnwick.h -name '*.h' | sort) > "$work/installed"
grep -E '^(engine/|tarnwick\.h$)' "$source_dir/engine/public-headers.txt" | sort > "$work/listed"
# README rows: "| core | `Clock.h` `Color.h` ... |" after the marker line.
awk '/<!-- public headers -->/ { on = 1; next }
     on && /^\|/ { print; next }
     on && !/^\|/ && seen { exit }
     on { seen = 1 }' "$source_dir/README.md" |
  awk -F'|' 'NR > 2 { gsub(/ /, "", $2); n = split($3, h, "`");
                      for (i = 2; i <= n; i += 2)
                        print ($2 == "root" ? "" : "engine/" $2 "/") h[i] }' |
  sort > "$work/documented"

compare() {
  if ! diff -q "$work/$1" "$work/$2" > /dev/null; then
    problem "The $1 headers differ from the $2 ones (< $1, > $2):"
    diff "$work/$1" "$work/$2" | grep '^[<>]' >&2
  fi
}
compare installed listed
compare installed documented

# The single header brings in every other public header.
grep '^engine/' "$work/listed" | while read -r header; do
  grep -q "^#include \"$header\"" "$source_dir/tarnwick.h" ||
    echo "tarnwick.h does not include $header"
done > "$work/missing"
while read -r line; do problem "$line"; done < "$work/missing"

# The export check itself: of these declarations, the eight marked must be
# reported and nothing else.
cat > "$work/sample.h" <<'SAMPLE'
class Hidden {
struct Open{
class Base: public Other {
int hidden();
const char* hiddenConst();  // a comment after it
std::string wrapped(int a,
                    int b);
bool alsoWrapped(
    int a);
extern int data;
class Forward;
TW_API int shown();
inline int fine() { return 1; }
template <typename T>
T alsoFine(T t);
extern TW_API int shownData;
const float LIMIT = 1.0f;
class TW_API Exported {
SAMPLE
reported=$(awk -f "$source_dir/tools/unexported-declarations.awk" "$work/sample.h" | cut -d: -f1 | tr '\n' ' ')
[ "$reported" = "1 2 3 4 5 6 8 10 " ] ||
  problem "tools/unexported-declarations.awk reports lines '$reported' of its sample, not '1 2 3 4 5 6 8 10 '"

while read -r header; do
  while read -r line; do
    used=$(sed -E 's/.*"(engine\/[^"]+)".*/\1/' <<< "$line")
    [ -f "$include/$used" ] || problem "$header includes $used, which is not installed"
  done < <(grep -E '^[[:space:]]*#[[:space:]]*include "engine/' "$include/$header")
  if grep -Eq '^[[:space:]]*#[[:space:]]*include <(SFML/|n?curses)' "$include/$header"; then
    problem "$header includes a library the engine keeps behind its seams"
  fi
  unexported=$(awk -f "$source_dir/tools/unexported-declarations.awk" "$include/$header")
  [ -z "$unexported" ] || problem "$header declares what a shared library would not export:
$unexported"
  if ! printf '#include "%s"\n#include "%s"\n' "$header" "$header" |
       "$cxx" -std=c++17 -fsyntax-only -Wall -Wextra -Wpedantic -Werror -I "$include" \
         -x c++ - 2> "$work/compile.log"; then
    problem "$header does not compile on its own:"
    head -n 5 "$work/compile.log" >&2
  fi
done < "$work/installed"

if [ "$problems" -gt 0 ]; then
  echo "$problems problem(s) with the public headers" >&2
  exit 1
fi
echo "public headers: $(wc -l < "$work/installed") installed, each complete and on the documented list"
