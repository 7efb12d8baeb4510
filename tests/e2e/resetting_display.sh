#!/bin/bash
# An X server that resets when its last client leaves (the usual setting)
# refuses connections for a moment after each reset. Start-up must not lose
# its display to that: every start gets its window and leaves normally. The
# loss is a race, so the program is started several times.
XVFB_ALLOW_RESET=1
. "$(dirname "$0")/lib.sh"
e2e_begin 1280x720
with_fixture_data

for attempt in $(seq 1 10); do
    rm -f "$WORK/Tarnwick.log"
    # No test client holds the display while the program starts.
    start_app
    for i in $(seq 1 400); do
        grep -q "ZOZUR3 initialised using" "$WORK/Tarnwick.log" 2>/dev/null && break
        kill -0 "$APP_PID" 2>/dev/null || break
        sleep 0.05
    done
    kill -TERM "$APP_PID" 2>/dev/null || true
    wait_exit 20
    expect_eq "$EXIT_CODE" 0 "exit code of start $attempt"
done
echo PASS
