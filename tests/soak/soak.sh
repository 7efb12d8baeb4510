#!/bin/bash
# soak.sh RUN_DIR [MINUTES]: MINUTES (default 10) of scripted driving with the
# default content under a private Xvfb, with random hot keys (U, R, M with a
# pick in the map dialog, comma, period, F5 and back, E), then Exit from the
# Options window. Passes when the program never crashed, exited 0, logged no
# GL error, grew its resident memory by less than 5% after minute 2, and
# wrote both settings files whole. Not part of `make test`: `make soak`.
# SOAK_SEED fixes the random keys (default: the time).
set -u
RUN_DIR=$(cd "${1:?usage: soak.sh RUN_DIR [MINUTES]}" && pwd)
MINUTES=${2:-10}
export RUN_DIR
. "$(dirname "$0")/../e2e/lib.sh"
set +e # the loop checks what it needs itself

e2e_begin 1280x720
cp -r "$RUN_DIR/Data" "$WORK/"
[ -f "$RUN_DIR/uiConfig.ini" ] && cp "$RUN_DIR/uiConfig.ini" "$WORK/"
seed=${SOAK_SEED:-$(date +%s)}
RANDOM=$seed
echo "soak: $MINUTES min, seed $seed, in $WORK"

start_app
find_window >/dev/null
wait_log 'Found [0-9]*/[0-9]* valid map objects' 60

rss() { awk '/^VmRSS:/ { print $2 }' "/proc/$APP_PID/status" 2>/dev/null; }
alive() { kill -0 "$APP_PID" 2>/dev/null || fail "the program died (see $WORK/.stderr)"; }

start=$SECONDS
end=$((start + MINUTES * 60))
baseline=""
samples=""
keys=0
next_sample=$start
while [ "$SECONDS" -lt "$end" ]; do
    alive
    # Drive: hold throttle and maybe a turn for a moment.
    drive=$(((RANDOM % 4 == 0) ? 0 : 1))
    turn=("" a d)
    turn=${turn[$((RANDOM % 3))]}
    [ $drive = 1 ] && xdotool keydown w
    [ -n "$turn" ] && xdotool keydown "$turn"
    sleep 0.$((3 + RANDOM % 7))
    [ -n "$turn" ] && xdotool keyup "$turn"
    [ $drive = 1 ] && xdotool keyup w
    # Now and then a hot key.
    case $((RANDOM % 12)) in
        0) press u ;;
        1) press r ;;
        2) press m; sleep 0.5; press Down; sleep 0.2; press Return ;;
        3) press comma ;;
        4) press period ;;
        5) press F5; sleep 0.7; press F5 ;;
        6) press e ;;
        *) ;;
    esac
    keys=$((keys + 1))
    if [ "$SECONDS" -ge "$next_sample" ]; then
        now=$(rss)
        samples="$samples $((SECONDS - start)):$now"
        if [ -z "$baseline" ] && [ $((SECONDS - start)) -ge 120 ]; then
            baseline=$now
        fi
        next_sample=$((SECONDS + 15))
    fi
done
alive
final=$(rss)
exit_via_options
wait_exit 60
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"

echo "soak: $keys key rounds; resident kB (s:kB):$samples; final $final"
if [ -n "$baseline" ]; then
    growth=$(((final - baseline) * 1000 / baseline))
    echo "soak: resident memory after minute 2: $baseline kB -> $final kB (${growth} per mille)"
    [ "$growth" -lt 50 ] || fail "resident memory grew by ${growth} per mille after minute 2"
else
    echo "soak: shorter than 2 minutes, memory growth not judged"
fi
if grep -qiE 'gl error|opengl error|GL_INVALID|GL_OUT_OF' "$WORK/Tarnwick.log" "$WORK/.stderr"; then
    fail "GL error in the log: $(grep -iE 'gl error|opengl error|GL_INVALID|GL_OUT_OF' "$WORK/Tarnwick.log" "$WORK/.stderr" | head -3)"
fi
# Written whole: each ends with a line feed and holds its last section's keys.
for f in Tarnwick.ini zozur3.ini; do
    [ -s "$WORK/$f" ] || fail "$f was not written"
    [ "$(tail -c1 "$WORK/$f" | od -An -c | tr -d ' ')" = '\n' ] || fail "$f is cut off"
done
grep -q '^physicsDebug=' "$WORK/Tarnwick.ini" || fail "Tarnwick.ini lacks its last keys"
grep -qi '^\[video\]' "$WORK/zozur3.ini" || fail "zozur3.ini lacks its video section"
echo "soak: passed"
