#!/bin/sh
# Starts or stops the virtual X server shared by the window tests.
#   xserver.sh start DISPLAY   reuse a live server on DISPLAY or start Xvfb there
#   xserver.sh stop DISPLAY    stop the Xvfb this script started, once no test
#                              run (normal or sanitizer build) still uses it
# Every test run (identified by the pid of its ctest) leaves a holder file while
# it uses the server; holders of runs that have died are forgotten. A lock file
# left by a dead server is removed before a new server starts.
set -u
action=${1:-}
display=${2:-:97}
number=${display#:}
number=${number%%.*}
x_lock=/tmp/.X${number}-lock
x_socket=/tmp/.X11-unix/X${number}
state=/tmp/tw-xserver-${number}
holder=${state}/holder.${PPID}

alive() { [ -n "$1" ] && kill -0 "$1" 2>/dev/null; }

answers() {
  if command -v xdpyinfo >/dev/null 2>&1; then
    xdpyinfo -display "$display" >/dev/null 2>&1
  else
    [ -S "$x_socket" ] && [ -e "$x_lock" ] && alive "$(tr -d ' ' <"$x_lock")"
  fi
}

forget_dead_holders() {
  for f in "$state"/holder.*; do
    [ -e "$f" ] || continue
    alive "${f##*.}" || rm -f "$f"
  done
}

wait_for_server() {
  tries=0
  while [ $tries -lt 250 ]; do
    answers && return 0
    sleep 0.1
    tries=$((tries + 1))
  done
  return 1
}

remove_stale_lock() {
  [ -e "$x_lock" ] || return 0
  pid=$(tr -d ' ' <"$x_lock" 2>/dev/null)
  alive "$pid" && return 0
  echo "removing stale lock of display $display (pid $pid)"
  rm -f "$x_lock" "$x_socket"
}

start() {
  touch "$holder"
  if answers; then
    echo "X server on $display already running; reusing it"
    return 0
  fi
  remove_stale_lock
  if [ -e "$x_lock" ]; then
    # A live process holds the display: give it time to come up.
    wait_for_server && return 0
    echo "display $display is held by another process that does not answer" >&2
    return 1
  fi
  command -v Xvfb >/dev/null 2>&1 || { echo "Xvfb not found" >&2; return 1; }
  setsid Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp -noreset \
    </dev/null >"$state/xvfb.log" 2>&1 9>&- &
  echo $! >"$state/pid"
  if wait_for_server; then
    echo "started Xvfb on $display (pid $(cat "$state/pid"))"
    return 0
  fi
  echo "Xvfb did not come up on $display:" >&2
  cat "$state/xvfb.log" >&2
  return 1
}

stop() {
  rm -f "$holder"
  forget_dead_holders
  if ls "$state"/holder.* >/dev/null 2>&1; then
    echo "X server on $display still used by another test run"
    return 0
  fi
  [ -f "$state/pid" ] || return 0
  pid=$(cat "$state/pid")
  rm -f "$state/pid"
  # Only the server this script started, and only while it is still Xvfb.
  if alive "$pid" && grep -q Xvfb "/proc/$pid/comm" 2>/dev/null; then
    kill "$pid"
    tries=0
    while alive "$pid" && [ $tries -lt 50 ]; do
      sleep 0.1
      tries=$((tries + 1))
    done
    alive "$pid" && kill -9 "$pid"
    echo "stopped Xvfb on $display (pid $pid)"
  fi
  remove_stale_lock
  return 0
}

mkdir -p "$state"
exec 9>"$state/lock"
flock 9
forget_dead_holders
case "$action" in
  start) start ;;
  stop) stop ;;
  *) echo "usage: $0 start|stop DISPLAY" >&2; exit 2 ;;
esac
