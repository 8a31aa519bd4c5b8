#!/usr/bin/env bash
# Runs title_test.exe under Wine with a window, in an X server of its own.
# Wine's server takes its display from the first program it serves, so this
# test runs alone (RUN_SERIAL) and waits for any server before it to end.
# usage: title_test.sh WINE title_test.exe
[[ -n ${DISPLAY:-} ]] || exec xvfb-run -a -s "-screen 0 640x480x24" bash "$0" "$@"
wineserver -w
WINEDEBUG=-all "$1" "$2"
status=$?
wineserver -w
exit $status
