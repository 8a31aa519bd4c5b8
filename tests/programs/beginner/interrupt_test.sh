#!/usr/bin/env bash
# Ctrl-C on a program, as a terminal sends it (SIGINT), on SDL's dummy video
# driver: the first asks the program to close, so one whose loop tests gin
# ends with status 0; the second ends even a program that never tests gin,
# as Ctrl-C ends any program (killed by SIGINT, status 130 in a shell).
#
# usage: interrupt_test.sh PROGRAM_THAT_TESTS_GIN PROGRAM_THAT_IGNORES_GIN
set -uo pipefail
# Job control: without it, bash starts background programs with Ctrl-C ignored.
set -m
tests_gin=$1
ignores_gin=$2

# Waits up to 30 s for process $1 to catch SIGINT (SDL installs its handler
# while it starts); false if it ended first.
catches_sigint() {
  local mask
  for _ in $(seq 300); do
    mask=$(awk '/^SigCgt:/ { print $2 }' "/proc/$1/status" 2>/dev/null) || return 1
    [[ -n "$mask" ]] && (( 0x$mask & (1 << 1) )) && return 0
    sleep 0.1
  done
  return 1
}

# Waits up to 20 s for process $1 to end.
ends() {
  for _ in $(seq 200); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
  return 1
}

fail() { echo "$*" >&2; kill -KILL "$pid" 2>/dev/null; exit 1; }

"$tests_gin" &
pid=$!
catches_sigint "$pid" || fail "$tests_gin did not take Ctrl-C within 30 s of its start"
kill -INT "$pid"
ends "$pid" || fail "$tests_gin did not end within 20 s of one Ctrl-C"
wait "$pid"; status=$?
[[ $status -eq 0 ]] || fail "$tests_gin ended with status $status after one Ctrl-C, not 0"

"$ignores_gin" &
pid=$!
catches_sigint "$pid" || fail "$ignores_gin did not take Ctrl-C within 30 s of its start"
kill -INT "$pid"
sleep 1
kill -0 "$pid" 2>/dev/null || fail "$ignores_gin ended on the first Ctrl-C: that one only asks it to close"
kill -INT "$pid"
ends "$pid" || fail "$ignores_gin still runs 20 s after a second Ctrl-C"
wait "$pid"; status=$?
[[ $status -eq 130 ]] || fail "$ignores_gin ended with status $status after two Ctrl-Cs, not 130 (killed by SIGINT)"
echo "one Ctrl-C closed $tests_gin with status 0; two ended $ignores_gin with status 130"
