#!/usr/bin/env bash
# Runs an example as a newcomer would, on SDL's dummy video driver: it must
# either finish by itself with status 0, or still be running after a second
# and then end with status 0 on a close request (SDL turns SIGTERM into one).
#
# usage: example_test.sh PROGRAM
set -uo pipefail
program=$1

"$program" &
pid=$!
for _ in $(seq 10); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then
  kill -TERM "$pid"
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then
    kill -KILL "$pid"
    echo "$program did not end within 5 s of the close request" >&2
    exit 1
  fi
fi
wait "$pid"
status=$?
[[ $status -eq 0 ]] || { echo "$program ended with status $status" >&2; exit 1; }
echo "$program ran and ended with status 0"
