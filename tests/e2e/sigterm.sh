#!/bin/bash
# SIGTERM leaves like "Exit": both settings files written, exit code 0.
# Tab toggled the minimap on before.
. "$(dirname "$0")/lib.sh"
e2e_begin 1280x720
with_fixture_data

start_app
find_window >/dev/null
wait_log "Found 0/0 valid map objects"
read -r w h <<<"$(window_size)"
press Tab
wait_pixel $((w - 40)) 0 'r == 255 && g == 255 && b == 255' # the minimap's white frame, top right
kill -TERM "$APP_PID"
wait_exit 10
expect_eq "$EXIT_CODE" 0 "exit code"
[ -f "$WORK/zozur3.ini" ] || fail "zozur3.ini not written"
[ -f "$WORK/Tarnwick.ini" ] || fail "Tarnwick.ini not written"
grep -q "Events poller stopped" "$WORK/Tarnwick.log" || fail "no orderly shutdown"
expect_eq "$(ini_value "$WORK/Tarnwick.ini" showMinimap)" True "showMinimap after Tab"
echo PASS
