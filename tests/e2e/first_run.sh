#!/bin/bash
# A first run in a working directory holding only the framework folder.
. "$(dirname "$0")/lib.sh"
e2e_begin 1280x720
echo "left over from an earlier run" > "$WORK/Tarnwick.log"

start_app
find_window >/dev/null
wait_log "ZOZUR3 initialised using SFML v2.5.1"
grep -q "left over" "$WORK/Tarnwick.log" && fail "old log kept"

# The start-up lines, in order.
order=$(grep -n -e "Switched to fullscreen display resolution 1280 by 720" -e "Shaders initialised." \
    -e "Events poller started at 30 ticks per second" -e "ZOZUR3 initialised using SFML v2.5.1" \
    "$WORK/Tarnwick.log" | cut -d: -f1 | tr '\n' ' ')
sorted=$(echo "$order" | tr ' ' '\n' | grep . | sort -n | tr '\n' ' ')
[ "$(echo "$order" | wc -w)" = 4 ] || fail "start-up lines missing: $order"
expect_eq "$order" "$sorted" "start-up order"

dismiss_missing_map
exit_via_options
wait_exit 10
expect_eq "$EXIT_CODE" 0 "exit code"
[ -f "$WORK/Tarnwick.ini" ] || fail "Tarnwick.ini not written"
expect_eq "$(ini_value "$WORK/zozur3.ini" vsyncEnabled)" True vsyncEnabled
expect_eq "$(ini_value "$WORK/zozur3.ini" fpsLimit)" 0 fpsLimit
expect_eq "$(ini_value "$WORK/zozur3.ini" soundVolume)" 90 soundVolume
expect_eq "$(ini_value "$WORK/zozur3.ini" musicVolume)" 0 musicVolume
expect_eq "$(ini_value "$WORK/Tarnwick.ini" generator)" "Zendrix 2 Tarnwick v1.00" generator
echo PASS
