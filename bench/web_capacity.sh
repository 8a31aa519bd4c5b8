#!/usr/bin/env bash
# Measures the pages in headless Chromium: their sizes, the time to their
# first frame, and how many flakes each snowfall moves at 25 frames a second
# (see bench/web_capacity.mjs). Builds the pages first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/web all >/dev/null
(cd tests/web && { cmp -s package-lock.json node_modules/.kavex-installed-lock 2>/dev/null ||
  { npm ci --no-audit --no-fund && cp package-lock.json node_modules/.kavex-installed-lock; }; })
echo "# $(lscpu | sed -n 's/^Model name: *//p'), $(nproc) cores, $(chromium --version 2>/dev/null | head -n1)"
node bench/web_capacity.mjs
