#!/usr/bin/env bash
# Starts the game from its build folder. Where no display exists it starts a
# virtual X display (Xvfb) first and says so.
set -euo pipefail
cd "$1"
if [ -z "${DISPLAY:-}" ]; then
  echo "No display found: running the game under a virtual X display (Xvfb)."
  echo "It is playable only through a VNC viewer or xdotool; the log is $(pwd)/tarnwick.log."
  exec xvfb-run -a -s "-screen 0 1280x1024x24" ./veld
fi
exec ./veld
