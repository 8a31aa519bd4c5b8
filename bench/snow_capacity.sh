#!/usr/bin/env bash
# Measures how many flakes dotsnow and starsnow move at 25 frames a second:
# builds Release, starts a private Xvfb, and drives each real program through
# rising flake counts with space presses. Prints one table per program and SDL
# provider.
#   bench/snow_capacity.sh [classic|compat|both]   the SDL provider, classic by default
set -euo pipefail
# shellcheck source=scripts/common.sh
source "$(dirname "$0")/../scripts/common.sh"
answer_help "$@"
cd "$kavex_root"
providers=${1:-classic}
[[ $providers == both ]] && providers="classic compat"

scripts/bootstrap
configure_bench_build >/dev/null
cmake --build build-bench -j "$(job_count)" --target snow_capacity dotsnow starsnow >/dev/null

xdir=build-bench/xvfb
xvfb_start "$xdir" >/dev/null
trap 'xvfb_stop "$xdir"' EXIT
export KAVEX_DISPLAY_FILE=$PWD/$xdir/display

echo "# $(machine_line)"
for provider in $providers; do
  libpath=
  [[ $provider == compat ]] && libpath=/usr/lib/x86_64-linux-gnu/sdl12-compat
  # program, flakes at start, flakes per press, rand() calls per flake per frame, counts
  LD_LIBRARY_PATH=$libpath build-bench/tests/snow_capacity build-bench/dotsnow/dotsnow 400 100 2 \
    1000 10000 100000 500000 1000000 1500000 2000000 3000000
  LD_LIBRARY_PATH=$libpath build-bench/tests/snow_capacity build-bench/starsnow/starsnow 100 10 3 \
    1000 10000 50000 100000 150000 200000 300000
done
