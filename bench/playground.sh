#!/usr/bin/env bash
# Measures the playground in headless Chromium (see bench/playground.mjs):
# its size, its time to become ready, Run to the first frame of hello and
# starsnow, and Stop. Builds it first (scripts/web playground).
#   bench/playground.sh
set -euo pipefail
# shellcheck source=scripts/common.sh
source "$(dirname "$0")/../scripts/common.sh"
answer_help "$@"
cd "$kavex_root"
scripts/web playground >/dev/null
install_web_test_packages
echo "# $(machine_line), $(chromium --version 2>/dev/null | head -n1)"
node bench/playground.mjs
