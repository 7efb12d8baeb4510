#!/bin/bash
# An emulated 800 x 600 on a 1920 x 1080 screen keeps the screen's aspect.
. "$(dirname "$0")/lib.sh"
e2e_begin 1920x1080
with_fixture_data
printf '[info]\nversion=1\n[video]\nemulatedWidth=800\nemulatedHeight=600\n' > "$WORK/zozur3.ini"

start_app
find_window >/dev/null
wait_log "Emulating display resolution 1066 by 600 (adjusted for aspect)"
kill -TERM "$APP_PID"
wait_exit 10
expect_eq "$EXIT_CODE" 0 "exit code"
expect_eq "$(ini_value "$WORK/zozur3.ini" emulatedWidth)" 800 emulatedWidth
echo PASS
