#!/usr/bin/env bash
# Every runnable script (scripts/, bench/*.sh, tests/fuzz/run_fuzz,
# tests/e2e/xvfb.sh, .ci/run) answers --help and -h with its usage, and does
# nothing else then: it runs with a PATH that holds only the few tools that
# printing a usage needs, so one that went on to install or build would fail.
#   scripts_help.sh ROOT
set -euo pipefail
root=$1
tools=$(mktemp -d)
trap 'rm -rf "$tools"' EXIT
for tool in bash env dirname awk cat; do ln -s "$(command -v "$tool")" "$tools/$tool"; done

failed=0
cd "$root"
for script in scripts/* bench/*.sh tests/fuzz/run_fuzz tests/e2e/xvfb.sh .ci/run; do
  [[ -x $script ]] || continue
  for option in --help -h; do
    if ! usage=$(PATH=$tools "$script" "$option" 2>&1) || [[ -z $usage ]]; then
      echo "$script $option: no usage (status ${?}): $usage" >&2
      failed=1
    fi
  done
done
[[ $failed -eq 0 ]] && echo "every script answers --help and -h"
exit "$failed"
