#!/bin/bash
# F12 twice within one second: the plain name, then the "_01" name.
. "$(dirname "$0")/lib.sh"
e2e_begin 1280x720
with_fixture_data

start_app
find_window >/dev/null
wait_log "Found 0/0 valid map objects"
# Both presses must land within one UTC second, and in separate event polls
# (30 a second): xdotool types them 100 ms apart. Start just after a second
# boundary; a loaded machine can still push the second picture into the next
# second, so try a few pairs.
wait_saved() { # wait_saved COUNT: false when the log has not reached it in 5 s
    local i
    for i in $(seq 1 100); do
        [ "$(saved_shots)" -ge "$1" ] && return 0
        sleep 0.05
    done
    return 1
}
first="" second=""
for attempt in 1 2 3 4 5 6 7 8; do
    before=$(saved_shots)
    while [ "$(date +%N | cut -c1)" != "0" ]; do sleep 0.01; done
    xdotool key --delay 100 F12 F12
    wait_saved $((before + 1)) || fail "no screenshot saved"
    # A frame slower than the typing takes both presses in one poll: one
    # picture, so try again.
    wait_saved $((before + 2)) || continue
    names=$(last_shots 2)
    first=$(echo "$names" | head -n1)
    second=$(echo "$names" | tail -n1)
    [ "$second" = "${first%.png}_01.png" ] && break
done
expect_eq "$second" "${first%.png}_01.png" "counted name"
[ -s "$WORK/$first" ] && [ -s "$WORK/$second" ] || fail "screenshot files missing"
# Named in UTC.
stamp=${first#screenshot_}
stamp=${stamp%.png}
now=$(date -u +%Y%m%d_%H%M%S)
[ "${stamp:0:8}" = "${now:0:8}" ] || fail "stamp $stamp is not today's UTC date $now"
identify -format '%wx%h' "$WORK/$first" | grep -q '^1280x720$' || fail "screenshot size"

kill -TERM "$APP_PID"
wait_exit 10
echo PASS
