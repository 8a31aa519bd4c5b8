#!/usr/bin/env bash
# Measures the pages in headless Chromium: their sizes, the time to their
# first frame, and how many flakes each snowfall moves at 25 frames a second
# (see bench/web_capacity.mjs). Builds the pages first (scripts/web all).
#   bench/web_capacity.sh
set -euo pipefail
# shellcheck source=scripts/common.sh
source "$(dirname "$0")/../scripts/common.sh"
answer_help "$@"
cd "$kavex_root"
scripts/web all >/dev/null
install_web_test_packages
echo "# $(machine_line), $(chromium --version 2>/dev/null | head -n1)"
node bench/web_capacity.mjs
