#!/usr/bin/env bash
# Virtual X screens for Wine.
#   xvfb.sh ensure <state file> [depth]   print the DISPLAY of a running screen recorded in the
#                                          state file, starting one when there is none
#   xvfb.sh start <state file> [depth]    always start a new screen and record it
#   xvfb.sh stop <state file>             stop the screen recorded there
set -euo pipefail
cmd=$1 state=$2 depth=${3:-24}

alive() { [ -f "$state" ] && kill -0 "$(cut -d' ' -f2 "$state")" 2>/dev/null; }

start() {
  mkdir -p "$(dirname "$state")"
  local fifo; fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "1024x768x$depth" -nolisten tcp 3>"$fifo" 8>&- </dev/null >/dev/null 2>&1 &
  local pid=$! display
  read -r display <"$fifo"
  rm -f "$fifo"
  echo ":$display $pid" >"$state"
}

case $cmd in
  ensure)
    exec 8>"$state.lock"; flock 8
    alive || start
    cut -d' ' -f1 "$state" ;;
  start)
    start
    cut -d' ' -f1 "$state" ;;
  stop)
    if alive; then kill "$(cut -d' ' -f2 "$state")"; fi
    rm -f "$state" ;;
  *) echo "usage: $0 ensure|start|stop <state file> [depth]" >&2; exit 2 ;;
esac
