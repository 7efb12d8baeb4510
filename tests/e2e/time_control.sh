#!/bin/bash
# Pause and single steps on the default content: a drive recorded while
# paused, with the throttle held and O pressed three times, is exactly three
# steps long (the Telemetry window works while the world stands still). F
# turns the force overlay on, [ and ] slow the world and speed it up again,
# and forceOverlay is saved at exit.
. "$(dirname "$0")/lib.sh"
e2e_begin 1280x720
cp -r "$RUN_DIR/Data" "$WORK/"

start_app
find_window >/dev/null
wait_log "Loaded [0-9]* cars"

# record_click PATTERN: clicks Record and waits for the log line it writes.
record_click() {
    local before i
    before=$(grep -c -- "$1" "$WORK/Tarnwick.log" || true)
    click_widget Telemetry Record
    for i in $(seq 1 400); do
        [ "$(grep -c -- "$1" "$WORK/Tarnwick.log" || true)" -gt "$before" ] && return 0
        sleep 0.05
    done
    fail "log never showed: $1"
}

press f bracketleft bracketleft p t
wait_frames 3
record_click "Recording started"
xdotool keydown w
wait_frames 30
for i in 1 2 3; do
    press o
    wait_frames 3
done
xdotool keyup w
wait_frames 30
record_click "Recording stopped after [0-9]* steps"
steps=$(sed -n 's/.*Recording stopped after \([0-9]*\) steps.*/\1/p' "$WORK/Tarnwick.log" | tail -n1)
expect_eq "$steps" 3 "steps recorded while paused"

# Running again, slowed and back to full speed, with the overlay drawn.
press p bracketright bracketright
xdotool keydown w
wait_frames 30
xdotool keyup w
kill -0 "$APP_PID" 2>/dev/null || fail "the program died"

exit_via_options
wait_exit 10
expect_eq "$EXIT_CODE" 0 "exit code"
expect_eq "$(ini_value "$WORK/Tarnwick.ini" forceOverlay)" True forceOverlay
echo PASS
