#!/usr/bin/env bash
# Starts the game from its build folder: in a window where a display exists,
# otherwise in this terminal; with neither, says why and stops.
set -euo pipefail
cd "$1"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec ./veld
fi
if [ -t 0 ] && [ -t 1 ]; then
  echo "No display found: playing in this terminal (the log is $(pwd)/tarnwick.log)."
  sleep 1
  exec ./veld --terminal
fi
echo "No display and no terminal to play in: run 'make run' from a terminal, or on a desktop."
exit 0
