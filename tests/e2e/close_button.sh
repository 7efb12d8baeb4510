#!/bin/bash
# The close button in windowed mode asks first; Yes ends the program with code
# 0, the framework configuration written and the test bed's settings not.
. "$(dirname "$0")/lib.sh"
e2e_begin 1280x720
with_fixture_data
printf '[info]\nversion=1\n[video]\nwidth=800\nheight=600\nwindow=True\n' > "$WORK/zozur3.ini"
start_window_manager

start_app
find_window >/dev/null
wait_log "ZOZUR3 initialised"
wmctrl -c "$TITLE"
wait_log 'Message box "Confirm": Are you sure you want to close Zendrix 2 Tarnwick ?'
wait_pixel 2 2 'r == 24 && g == 24 && b == 28' # the box's backdrop: it takes keys now
press Return
wait_exit 10
expect_eq "$EXIT_CODE" 0 "exit code"
[ -f "$WORK/zozur3.ini" ] || fail "zozur3.ini not written"
expect_eq "$(ini_value "$WORK/zozur3.ini" width)" 800 width
[ ! -e "$WORK/Tarnwick.ini" ] || fail "Tarnwick.ini written on the close-button path"
echo PASS
