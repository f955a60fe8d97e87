#!/usr/bin/env bash
# Makes a game with the starter (tools/new-game) in WORK, builds it against
# an installed engine and plays it; fails on the first step that does not work.
#   run.sh native ENGINE_SOURCE ENGINE_BUILD WORK
#     installs ENGINE_BUILD into WORK/prefix, builds the game with
#     find_package and plays it in a terminal (tmux): the greeting shows, the
#     hero walks right on a key and the game ends on Q
#   run.sh web ENGINE_SOURCE WEB_BUILD WORK
#     installs the browser build WEB_BUILD into WORK/prefix (the browser
#     package), builds the game with find_package under emcmake and plays its
#     page in headless Chromium (tests/web/starter-page.mjs)
set -euo pipefail
mode=$1 source=$2 engine_build=$3 work=$4
name=first-game
game=$work/game
rm -rf "$work"
mkdir -p "$work"

fail() { echo "FAILED: $*" >&2; exit 1; }

"$source/tools/new-game" "$name" "$game" > "$work/new-game.log" || fail "new-game, see $work/new-game.log"
for f in main.cpp CMakeLists.txt README.md sprites/hero.txt; do
  [ -s "$game/$f" ] || fail "new-game wrote no $f"
done
! "$source/tools/new-game" "$name" "$game" 2> /dev/null || fail "new-game wrote over a folder in use"

cmake --install "$engine_build" --prefix "$work/prefix" > "$work/install.log" ||
  fail "installing $engine_build, see $work/install.log"

# The hero's legs ("/ \"), the same in both frames: their column, or -1.
legs_column() {
  awk 'BEGIN { c = -1 } { i = index($0, "/ \\"); if (i > 0) c = i - 1 } END { print c }'
}

case "$mode" in
  native)
    cmake -S "$game" -B "$game/build" -DCMAKE_PREFIX_PATH="$work/prefix" > "$work/configure.log" ||
      fail "configuring, see $work/configure.log"
    cmake --build "$game/build" -j 2 > "$work/build.log" || fail "building, see $work/build.log"
    tmux_run() { tmux -f /dev/null -L "tw-starter-$$" "$@"; }
    trap 'tmux_run kill-server 2> /dev/null || true' EXIT
    tmux_run new-session -d -x 80 -y 24 -e TERM=tmux-256color \
      "cd '$game' && build/$name --terminal; echo \"exit status \$?\"; sleep 600"
    # Waits (up to a minute; a busy machine is slow) for the pane to satisfy
    # a test; prints the pane.
    wait_pane() {
      local pane
      for _ in $(seq 600); do
        pane=$(tmux_run capture-pane -p)
        if eval "$1"; then printf '%s\n' "$pane"; return 0; fi
        sleep 0.1
      done
      fail "waiting for $2; the pane shows:
$pane"
    }
    first=$(wait_pane '[[ $pane == *"Hello from $name!"* && $(legs_column <<< "$pane") -ge 0 ]]' \
              "the greeting and the hero" | legs_column)
    tmux_run send-keys Right
    wait_pane '[ "$(legs_column <<< "$pane")" -eq $((first + 1)) ]' "the hero one cell right" > /dev/null
    tmux_run send-keys q
    wait_pane '[[ $pane == *"exit status 0"* ]]' "the game to end with status 0 on Q" > /dev/null
    ;;
  web)
    export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
    emcmake cmake -S "$game" -B "$game/build-web" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_PREFIX_PATH="$work/prefix" > "$work/configure.log" 2>&1 ||
      fail "configuring under emcmake, see $work/configure.log"
    cmake --build "$game/build-web" -j 2 > "$work/build.log" 2>&1 || fail "building, see $work/build.log"
    node --experimental-websocket "$source/tests/web/starter-page.mjs" "$game/build-web/site" "$name" ||
      fail "playing the page"
    ;;
  *) fail "unknown mode $mode" ;;
esac
echo "the starter's game built and played ($mode): ok"
