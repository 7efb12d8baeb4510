#!/bin/bash
# F5 opens the audio panel; a click near the right end of the "Music Volume"
# slider raises musicVolume; Escape closes the panel and the frame loop goes on.
. "$(dirname "$0")/lib.sh"
e2e_begin 1280x720
with_fixture_data

start_app
find_window >/dev/null
wait_log "Found 0/0 valid map objects"
press F5
click_widget "Audio Panel" "Music Volume" 0.98
press Escape
wait_widget_gone "Audio Panel" "Music Volume"

# Back in the frame loop: Escape opens the Options window, "Exit" leaves.
exit_via_options
wait_exit 10
expect_eq "$EXIT_CODE" 0 "exit code"
volume=$(ini_value "$WORK/zozur3.ini" musicVolume)
[ "$volume" -ge 90 ] || fail "musicVolume $volume, expected near 100"
expect_eq "$(ini_value "$WORK/zozur3.ini" soundVolume)" 90 soundVolume
echo PASS
