#!/bin/bash
# The Telemetry window on the default content: T shows it, Record keeps a
# drive, a replay after doubling the power (file edited, R) ends in a
# different state and overlays A and B, Export CSV writes one row per
# recorded step, and showTelemetry is saved at exit.
# With E2E_SHOT=path the A/B screenshot is copied there (for the docs).
. "$(dirname "$0")/lib.sh"
e2e_begin 1280x720
cp -r "$RUN_DIR/Data" "$WORK/"

start_app
find_window >/dev/null
wait_log "Loaded [0-9]* cars"

# click_for PATTERN LABEL: clicks the window's LABEL and waits until the log
# gains a line matching PATTERN, which each real click writes once.
click_for() {
    local before i
    before=$(grep -c -- "$1" "$WORK/Tarnwick.log" || true)
    click_widget Telemetry "$2"
    for i in $(seq 1 400); do
        [ "$(grep -c -- "$1" "$WORK/Tarnwick.log" || true)" -gt "$before" ] && return 0
        sleep 0.05
    done
    fail "log never showed: $1"
}

press t
click_for "Recording started" Record
xdotool keydown w
sleep 2 # a drive of some length: input, not a wait for a state
xdotool keydown d
sleep 1
xdotool keyup d keyup w
click_for "Recording stopped after [0-9]* steps" Record
steps=$(sed -n 's/.*Recording stopped after \([0-9]*\) steps.*/\1/p' "$WORK/Tarnwick.log" | tail -n1)
[ "$steps" -gt 120 ] || fail "only $steps steps recorded"

# Twice the power, read again with R: the same inputs end elsewhere.
awk -F= '/^power=/ { print "power=" $2 * 2; next } { print }' "$WORK/Data/Cars/Buggy.ini" >"$WORK/buggy.ini"
mv "$WORK/buggy.ini" "$WORK/Data/Cars/Buggy.ini"
press r
reloaded=""
for i in $(seq 1 200); do
    [ "$(grep -c 'Loaded [0-9]* cars' "$WORK/Tarnwick.log")" -ge 2 ] && reloaded=1 && break
    sleep 0.05
done
[ -n "$reloaded" ] || fail "R did not reload the cars"
click_for "Replay started" Replay
wait_log "Replay ended after $steps steps in a different state" 90

if [ -n "${E2E_SHOT:-}" ]; then
    press F12
    wait_log "Saved screenshot to "
    shot=$(last_shots 1)
    cp "$WORK/$shot" "$E2E_SHOT"
fi

click_for "Saved telemetry to telemetry_[0-9]*_[0-9]*\.csv" "Export CSV"
csv=$(sed -n 's/.*Saved telemetry to \(telemetry_[0-9_]*\.csv\)$/\1/p' "$WORK/Tarnwick.log" | tail -n1)
[ -f "$WORK/$csv" ] || fail "no $csv"
head -n1 "$WORK/$csv" | grep -q '^step,time_s,speed_kmh,engine_rpm,gear,' || fail "CSV header"
expect_eq "$(($(wc -l <"$WORK/$csv") - 1))" "$steps" "CSV rows"

exit_via_options
wait_exit 10
expect_eq "$EXIT_CODE" 0 "exit code"
expect_eq "$(ini_value "$WORK/Tarnwick.ini" showTelemetry)" True showTelemetry
echo PASS
