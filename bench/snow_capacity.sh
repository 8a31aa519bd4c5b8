#!/usr/bin/env bash
# Measures how many flakes dotsnow and starsnow move at 25 frames a second:
# builds Release, starts a private Xvfb, and drives each real program through
# rising flake counts with space presses. Prints one table per program and SDL
# provider. Usage: bench/snow_capacity.sh [classic|compat|both]
set -euo pipefail
cd "$(dirname "$0")/.."
providers=${1:-classic}
[[ $providers == both ]] && providers="classic compat"

scripts/bootstrap
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DKAVEX_TESTS=ON -DKAVEX_BENCHMARKS=ON >/dev/null
cmake --build build-bench -j 2 --target snow_capacity dotsnow starsnow >/dev/null

xdir=build-bench/xvfb
tests/e2e/xvfb.sh start "$xdir" >/dev/null
trap 'tests/e2e/xvfb.sh stop "$xdir"' EXIT
export KAVEX_DISPLAY_FILE=$PWD/$xdir/display

echo "# $(lscpu | sed -n 's/^Model name: *//p'), $(nproc) cores"
for provider in $providers; do
  libpath=
  [[ $provider == compat ]] && libpath=/usr/lib/x86_64-linux-gnu/sdl12-compat
  # program, flakes at start, flakes per press, rand() calls per flake per frame, counts
  LD_LIBRARY_PATH=$libpath build-bench/tests/snow_capacity build-bench/dotsnow/dotsnow 400 100 2 \
    1000 10000 100000 500000 1000000 1500000 2000000 3000000
  LD_LIBRARY_PATH=$libpath build-bench/tests/snow_capacity build-bench/starsnow/starsnow 100 10 3 \
    1000 10000 50000 100000 150000 200000 300000
done
