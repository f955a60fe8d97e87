#!/usr/bin/env bash
# Checks the engine's public face against an install of the build into a
# temporary prefix:
#   - the installed headers are exactly engine/public-headers.txt, and exactly
#     the list in the README's "Public headers" table;
#   - every engine header an installed header includes is installed too, and
#     none includes SFML or curses;
#   - each installed header compiles on its own from the installed tree alone;
#   - every function or variable they declare at namespace scope is exported
#     (TW_API), unless it is inline or a template.
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

(cd "$include" && find engine -name '*.h' | sort) > "$work/installed"
grep '^engine/' "$source_dir/engine/public-headers.txt" | sort > "$work/listed"
# README rows: "| core | `Clock.h` `Color.h` ... |" after the marker line.
awk '/<!-- public headers -->/ { on = 1; next }
     on && /^\|/ { print; next }
     on && !/^\|/ && seen { exit }
     on { seen = 1 }' "$source_dir/README.md" |
  awk -F'|' 'NR > 2 { gsub(/ /, "", $2); n = split($3, h, "`");
                      for (i = 2; i <= n; i += 2) print "engine/" $2 "/" h[i] }' |
  sort > "$work/documented"

compare() {
  if ! diff -q "$work/$1" "$work/$2" > /dev/null; then
    problem "The $1 headers differ from the $2 ones (< $1, > $2):"
    diff "$work/$1" "$work/$2" | grep '^[<>]' >&2
  fi
}
compare installed listed
compare installed documented

while read -r header; do
  while read -r line; do
    used=$(sed -E 's/.*"(engine\/[^"]+)".*/\1/' <<< "$line")
    [ -f "$include/$used" ] || problem "$header includes $used, which is not installed"
  done < <(grep -E '^[[:space:]]*#[[:space:]]*include "engine/' "$include/$header")
  if grep -Eq '^[[:space:]]*#[[:space:]]*include <(SFML/|n?curses)' "$include/$header"; then
    problem "$header includes a library the engine keeps behind its seams"
  fi
  # The shared library hides what lacks TW_API: a function or variable
  # declared at namespace scope (from the first column) without it compiles
  # in a game and then fails to link. Inline and template ones need none.
  while IFS= read -r line; do
    problem "$header:${line%%:*}: '${line#*:}' lacks TW_API: libtarnwick.so would not export it"
  done < <(grep -nE '^[A-Za-z_][^(]*[ *&](operator[^ (]+|[A-Za-z_][A-Za-z_0-9]*)\(|^extern ' \
             "$include/$header" |
           grep -vE '^[0-9]+:(TW_API|extern TW_API|inline|template|static|constexpr|typedef|using|friend|class|struct|enum|namespace)\b')
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
