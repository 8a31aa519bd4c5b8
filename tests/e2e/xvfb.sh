#!/usr/bin/env bash
# Starts or stops the X server that the end-to-end tests share (CTest's
# fixture), and the one a script starts for itself (scripts/common.sh).
#   tests/e2e/xvfb.sh start DIR   starts Xvfb on a display it picks itself
#                                 (other X servers may run on this machine),
#                                 writes the display name to DIR/display, the
#                                 server's pid to DIR/xvfb.pid, its output to
#                                 DIR/xvfb.log
#   tests/e2e/xvfb.sh stop DIR    stops that server
set -euo pipefail
# shellcheck source=scripts/common.sh
source "$(dirname "$0")/../../scripts/common.sh"
answer_help "$@"
action=$1
dir=$2
mkdir -p "$dir"

stop() {
  [[ -f "$dir/xvfb.pid" ]] || return 0
  local pid
  pid=$(cat "$dir/xvfb.pid")
  kill "$pid" 2>/dev/null || true
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -9 "$pid" 2>/dev/null || true
  rm -f "$dir/xvfb.pid" "$dir/display"
}

case $action in
  start)
    stop   # a server left over from an interrupted run
    rm -f "$dir/displayfd"
    # -displayfd writes the chosen display number, once the server listens.
    # -noreset: the last client leaving must not reset the server while the next
    # test connects. Its own output goes to a log, so that CTest does not wait on it.
    setsid Xvfb -displayfd 3 -screen 0 640x480x24 -br -nolisten tcp -noreset \
      3>"$dir/displayfd" >"$dir/xvfb.log" 2>&1 </dev/null &
    echo $! >"$dir/xvfb.pid"
    # Up to 60 s: a server that starts returns at once, and one machine's
    # cores may all be busy with other work.
    for _ in $(seq 600); do
      if [[ -s "$dir/displayfd" ]] && grep -q . "$dir/displayfd"; then
        echo ":$(head -n1 "$dir/displayfd" | tr -d '[:space:]')" >"$dir/display"
        echo "Xvfb on $(cat "$dir/display")"
        exit 0
      fi
      kill -0 "$(cat "$dir/xvfb.pid")" 2>/dev/null || break
      sleep 0.1
    done
    echo "xvfb.sh: Xvfb did not start:" >&2
    cat "$dir/xvfb.log" >&2
    stop
    exit 1
    ;;
  stop) stop ;;
  *) echo "usage: xvfb.sh start|stop DIR" >&2; exit 2 ;;
esac
