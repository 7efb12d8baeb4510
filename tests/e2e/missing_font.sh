#!/bin/bash
# Without the mono font the core cannot start: message boxes, exit code 1, and
# neither settings file is written.
. "$(dirname "$0")/lib.sh"
e2e_begin 1280x720
with_fixture_data
rm "$WORK/zozur3/fonts/RobotoMono-Regular.ttf"

start_app
find_window >/dev/null
wait_log 'Text::init: Unable to read mono font from zozur3\\fonts\\RobotoMono-Regular.ttf'
# Answer every box until the program is gone.
for i in $(seq 1 40); do
    kill -0 "$APP_PID" 2>/dev/null || break
    xdotool key Return 2>/dev/null || true
    sleep 0.25
done
wait_exit 10
expect_eq "$EXIT_CODE" 1 "exit code"
grep -q 'OrvCore::init: loadFonts failed.' "$WORK/Tarnwick.log" || fail "no loadFonts message"
grep -q 'OrvCore::init failed.' "$WORK/Tarnwick.log" || fail "no init failed message"
[ ! -e "$WORK/zozur3.ini" ] || fail "zozur3.ini written"
[ ! -e "$WORK/Tarnwick.ini" ] || fail "Tarnwick.ini written"
echo PASS
