#!/usr/bin/env bash
# How fast a replay runs, against the run it repeats: each game replayed
# without a display on its transcript in examples/runs (which says how long
# the run lasted when played, by its ticks), without pictures, with every
# changed picture written (KAVEX_FRAMES), and through kavex-check --animate.
# Prints events and pictures a second, and how many times faster than live.
#   bench/replay.sh
set -euo pipefail
# shellcheck source=scripts/common.sh
source "$(dirname "$0")/../scripts/common.sh"
answer_help "$@"
cd "$kavex_root"

scripts/bootstrap
configure_bench_build >/dev/null
cmake --build build-bench -j "$(job_count)" --target kavex-check starsnow dotsnow pong snake >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The median of three runs of a command, in seconds.
seconds() {
  for _ in 1 2 3; do
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null
    end=$(date +%s.%N)
    echo "$end - $start" | bc -l
  done | sort -n | sed -n 2p
}

# The run's time when played: its last tick's value, in seconds.
live_seconds() {
  awk '/^tick /{ t = $2 } /^ticks /{ e = ($3 == "every") ? $4 : 40; t += $2 * e }
       /^hold /{ e = ($4 == "every") ? $5 : 40; t += $3 * e } END { print t / 1000 }' "$1"
}

echo "# $(machine_line)"
echo "| program | events | live s | replay s (x faster) | with pictures s (pictures/s) | animation s |"
echo "|---|---|---|---|---|---|"
for run in examples/runs/*.txt; do
  name=$(basename "$run" .txt)
  program=build-bench/examples/$name
  [[ -x $program ]] || program=build-bench/$name/$name
  events=$(awk '/^ticks /{ n += $2; next } /^hold /{ n += $3 + 2; next } /^[a-z]/ && !/^kavex/{ n++ } END { print n }' "$run")
  live=$(live_seconds "$run")
  plain=$(seconds env -u DISPLAY KAVEX_REPLAY="$run" "$program")
  rm -rf "$work/frames"; mkdir -p "$work/frames"
  framed=$(seconds env -u DISPLAY KAVEX_REPLAY="$run" KAVEX_FRAMES="$work/frames" "$program")
  pictures=$(($(wc -l <"$work/frames/frames.txt") - 1))
  animated=$(seconds build-bench/check/kavex-check --animate "$work/$name.gif" "$run" "$program")
  printf '| %s | %d | %.1f | %.3f (%.0fx) | %.2f (%.0f) | %.2f |\n' "$name" "$events" "$live" "$plain" \
    "$(echo "$live / $plain" | bc -l)" "$framed" "$(echo "$pictures / $framed" | bc -l)" "$animated"
done
