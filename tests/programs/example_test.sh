#!/usr/bin/env bash
# Runs an example as a newcomer would, on SDL's dummy video driver: it must
# either finish by itself with status 0, or run for a second and then end
# with status 0 on a close request (SDL turns SIGTERM into one, once it has
# installed its handler: the signal waits for that, so that a slow start on
# a busy machine cannot turn it into a kill). It runs in its own folder, as
# scripts/run starts it, where it finds its pictures; with KAVEX_EXPLAIN=1,
# and an example must make no mistake that the library would explain.
#
# usage: example_test.sh PROGRAM
set -uo pipefail
program=$1

catches_sigterm() {
  local mask
  mask=$(awk '/^SigCgt:/ { print $2 }' "/proc/$1/status" 2>/dev/null) || return 1
  [[ -n "$mask" ]] && (( 0x$mask & (1 << 14) ))
}

# Waits up to $2 tenths of a second for process $1 to end.
ends_within() {
  for _ in $(seq "$2"); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
  ! kill -0 "$1" 2>/dev/null
}

cd "$(dirname "$program")"
said=$(mktemp)
trap 'rm -f "$said"' EXIT
KAVEX_EXPLAIN=1 "$program" 2>"$said" &
pid=$!
for _ in $(seq 300); do catches_sigterm "$pid" || ! kill -0 "$pid" 2>/dev/null && break; sleep 0.1; done
if ! ends_within "$pid" 10; then
  if ! catches_sigterm "$pid"; then
    kill -KILL "$pid"
    echo "$program did not take SDL's close request (SIGTERM) within 30 s of its start" >&2
    exit 1
  fi
  kill -TERM "$pid"
  if ! ends_within "$pid" 200; then
    kill -KILL "$pid"
    echo "$program did not end within 20 s of the close request" >&2
    exit 1
  fi
fi
wait "$pid"
status=$?
[[ $status -eq 0 ]] || { echo "$program ended with status $status" >&2; cat "$said" >&2; exit 1; }
if grep -q '^kavex: ' "$said"; then
  echo "$program made a mistake that the library explains:" >&2
  cat "$said" >&2
  exit 1
fi
echo "$program ran and ended with status 0"
