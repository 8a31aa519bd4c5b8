#!/usr/bin/env bash
# Compiles no_copies.cpp once per case: case 0 must compile, and every other
# case must be refused for using a deleted function, not for any other error.
# Usage: must_not_compile.sh COMPILER CASES FLAGS...
set -uo pipefail
compiler=$1 cases=$2
shift 2
source_file="$(dirname "$0")/no_copies.cpp"
compile() { "$compiler" -fsyntax-only "$@" -DKAVEX_CASE="$case" "$source_file" 2>&1; }

failed=0
case=0
if ! out=$(compile "$@"); then
  echo "case 0, the correct use, does not compile:"; echo "$out"; exit 1
fi
for case in $(seq 1 "$cases"); do
  if out=$(compile "$@"); then
    echo "case $case compiles, but must not"; failed=1
  elif ! grep -q "deleted" <<<"$out"; then
    echo "case $case fails for another reason than a deleted copy or move:"; echo "$out"; failed=1
  else
    echo "case $case refused: $(grep -m1 deleted <<<"$out")"
  fi
done
exit $failed
