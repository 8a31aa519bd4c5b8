#!/usr/bin/env bash
# Runs title_test.exe under Wine in an X server of its own (xvfb-run), then
# reads the window's name as the X server has it from Wine: that proves what
# Wine shows, not what Windows itself would. Wine's server takes its display
# from the first program it serves, so this test runs alone (RUN_SERIAL) and
# waits for any server of the tests before it to end, and for its own.
# usage: title_test.sh WINE title_test.exe
set -uo pipefail
wine=$1 program=$2
expected="Pontszám: ű ł"
if [[ -z ${DISPLAY:-} ]]; then exec xvfb-run -a -s "-screen 0 640x480x24" bash "$0" "$@"; fi
said=$(mktemp)
trap 'kill "$pid" 2>/dev/null; wineserver -w; rm -f "$said"' EXIT
wineserver -w
WINEDEBUG=-all "$wine" "$program" >"$said" 2>&1 &
pid=$!

# Generous: Wine's first start in a fresh prefix takes long on a busy machine.
for _ in $(seq 1200); do
  grep -q shown "$said" && break
  if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid"
    echo "title_test.exe ended with status $? before showing its title: $(cat "$said")"
    exit 1
  fi
  sleep 0.1
done
grep -q shown "$said" || { echo "title_test.exe showed no title in two minutes"; exit 1; }

names=()
for _ in $(seq 100); do
  names=()
  for window in $(xwininfo -root -children | grep -o '^ *0x[0-9a-f]*'); do
    names+=("$(LANG=C.UTF-8 xprop -id "$window" _NET_WM_NAME 2>/dev/null | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p')")
  done
  printf '%s\n' "${names[@]}" | grep -qxF "$expected" && { echo "the X server names the window \"$expected\""; exit 0; }
  sleep 0.1
done
echo "no window is named \"$expected\"; the names are: ${names[*]}"
exit 1
