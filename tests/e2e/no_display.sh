#!/bin/bash
# Without an X server the program cannot open its window: it says so in the
# log and on stderr and ends with code 1 instead of crashing.
set -eu
: "${RUN_DIR:?}"
WORK=$(mktemp -d /tmp/tarnwick_e2e_XXXXXX)
trap 'rm -rf "$WORK"' EXIT
cp -r "$RUN_DIR/zozur3" "$WORK/"
cd "$WORK"
set +e
env -u DISPLAY ALSOFT_DRIVERS=null "$RUN_DIR/tarnwick" 2>stderr.txt
code=$?
set -e
[ "$code" = 1 ] || { echo "FAIL: exit code $code"; exit 1; }
grep -q "Error: OrvCore::init: No display to open a window on" Tarnwick.log || { echo "FAIL: no log line"; exit 1; }
grep -q "OrvCore::init failed." stderr.txt || { echo "FAIL: nothing on stderr"; exit 1; }
[ ! -e zozur3.ini ] && [ ! -e Tarnwick.ini ] || { echo "FAIL: settings written"; exit 1; }
echo PASS
