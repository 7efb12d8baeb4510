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

# The window's controls sit at fixed places: at 760,20, a 19 px title, 8 px
# padding, then Record, Export CSV and Replay 110 px apart.
row_y=$((20 + IMGUI_FRAME + IMGUI_PAD + IMGUI_FRAME / 2))
record_x=$((760 + IMGUI_PAD + IMGUI_FRAME / 2))
export_x=$((760 + IMGUI_PAD + 110 + 40))
replay_x=$((760 + IMGUI_PAD + 220 + 40))

# click_for PATTERN X Y: clicks until the log gains a line matching PATTERN.
# A loaded machine can take press and release in one event poll, and the GUI
# then sees no click; each line appears once per real click, so a toggle is
# never clicked twice.
click_for() {
    local before attempt i
    before=$(grep -c -- "$1" "$WORK/Tarnwick.log" || true)
    for attempt in 1 2 3 4 5; do
        click_at "$2" "$3"
        for i in $(seq 1 60); do
            [ "$(grep -c -- "$1" "$WORK/Tarnwick.log" || true)" -gt "$before" ] && return 0
            sleep 0.05
        done
    done
    fail "log never showed: $1"
}

press t
# The first chart's dark box.
wait_pixel 1000 165 'r == 20 && g == 20 && b == 24'

click_for "Recording started" "$record_x" "$row_y"
xdotool keydown w
sleep 2 # a drive of some length: input, not a wait for a state
xdotool keydown d
sleep 1
xdotool keyup d keyup w
click_for "Recording stopped after [0-9]* steps" "$record_x" "$row_y"
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
click_for "Replay started" "$replay_x" "$row_y"
wait_log "Replay ended after $steps steps in a different state" 90

if [ -n "${E2E_SHOT:-}" ]; then
    press F12
    wait_log "Saved screenshot to "
    shot=$(last_shots 1)
    cp "$WORK/$shot" "$E2E_SHOT"
fi

click_for "Saved telemetry to telemetry_[0-9]*_[0-9]*\.csv" "$export_x" "$row_y"
csv=$(sed -n 's/.*Saved telemetry to \(telemetry_[0-9_]*\.csv\)$/\1/p' "$WORK/Tarnwick.log" | tail -n1)
[ -f "$WORK/$csv" ] || fail "no $csv"
head -n1 "$WORK/$csv" | grep -q '^step,time_s,speed_kmh,engine_rpm,gear,' || fail "CSV header"
expect_eq "$(($(wc -l <"$WORK/$csv") - 1))" "$steps" "CSV rows"

exit_via_options
wait_exit 10
expect_eq "$EXIT_CODE" 0 "exit code"
expect_eq "$(ini_value "$WORK/Tarnwick.ini" showTelemetry)" True showTelemetry
echo PASS
