#!/bin/bash
# Whole frames of the running program on the default map at 1280 x 720 under
# a private Xvfb, in three scenarios, each its own run of the program:
#   stand    standing at the start of the map
#   drive    a scripted drive round the road loop (the keys come from the
#            vehicle's position, frames step the world by a fixed 1/60 s)
#   effects  every effect list at its cap around the player
# Each run first times as many floor frames in the same window (clear, one
# screen-sized textured quad, show), then the scenario's frames. Reported:
# wall time per frame (the rasteriser's work included) at the median and the
# 95th percentile, fps over the run, the same for the floor and the ratios,
# the program's own CPU time per frame and the load average around the run
# (the machine is shared: a load well above the two cores means a noisy run).
# Settings are the defaults (no ini files); AA=N writes a zozur3.ini with
# only antialiasingLevel=N instead. PERF_DIR=folder records each run with
# `perf record -g` (every thread, the rasteriser's included) into
# folder/perf-SCENARIO.data, for `perf report -i`.
# Usage: frame_profile.sh [RUN_DIR] [FRAMES] [SCENARIO...]
#   FRAMES defaults to 600 (1500 for the drive, DRIVE_FRAMES to change that).
# Exit status 1 when a goal was missed or a run wrote no profile.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
run=$(cd "${1:-$here/../build/run}" && pwd)
frames=${2:-600}
drive_frames=${DRIVE_FRAMES:-1500}
shift $(($# > 2 ? 2 : $#))
scenarios=${*:-stand drive effects}
. "$here/../tests/xvfb.sh"
work=$(mktemp -d /tmp/tarnwick_profile_XXXXXX)
trap 'stop_xvfb; rm -rf "$work"' EXIT
cp -r "$run/." "$work/"
rm -f "$work/Tarnwick.ini" "$work/zozur3.ini"
if [ -n "${AA:-}" ]; then
    printf '[video]\nantialiasingLevel=%s\n' "$AA" >"$work/zozur3.ini"
fi
start_xvfb 1280x720 "$work/.xvfb.log"

value() { sed -n "s/^$1=//p" "$2"; }
load() { cut -d' ' -f1 /proc/loadavg; }

table="| scenario | load before/after | wall p50 ms | wall p95 ms | fps | floor p50 ms | floor p95 ms | floor fps |"
table+=" ratio p50 | ratio p95 | program CPU p95 ms | goal |"$'\n'
table+="|---|---|---|---|---|---|---|---|---|---|---|---|"$'\n'
missed=0
for scenario in $scenarios; do
    n=$frames
    [ "$scenario" = drive ] && n=$drive_frames
    rm -f "$work/frame_profile.txt" "$work/Tarnwick.ini"
    before=$(load)
    recorder=()
    if [ -n "${PERF_DIR:-}" ]; then
        mkdir -p "$PERF_DIR"
        recorder=(perf record -g -F 997 -o "$(cd "$PERF_DIR" && pwd)/perf-$scenario.data" --)
    fi
    (cd "$work" && ALSOFT_DRIVERS=null TARNWICK_FRAME_PROFILE=$n TARNWICK_FRAME_PROFILE_SCENARIO=$scenario \
        timeout 600 "${recorder[@]}" ./tarnwick >/dev/null 2>&1) || true
    after=$(load)
    out="$work/frame_profile.txt"
    [ -f "$out" ] || { echo "$scenario: no profile written"; missed=1; continue; }
    echo "== $scenario (load average $before before, $after after)"
    cat "$out"
    limit=1.5
    [ "$scenario" = effects ] && limit=3.0
    ratio=$(value ratio_to_floor_p50 "$out")
    cpu=$(value program_ms_p95 "$out")
    goal=$(awk -v r="$ratio" -v l="$limit" -v c="$cpu" \
        'BEGIN { print (r <= l ? "met" : "missed") " (x" l "), CPU " (c < 2.0 ? "met" : "missed") }')
    case "$goal" in *missed*) missed=1 ;; esac
    table+="| $scenario | $before/$after | $(value wall_ms_p50 "$out") | $(value wall_ms_p95 "$out") |"
    table+=" $(value fps "$out") | $(value floor_ms_p50 "$out") | $(value floor_ms_p95 "$out") |"
    table+=" $(value floor_fps "$out") | $ratio | $(value ratio_to_floor_p95 "$out") | $cpu | $goal |"$'\n'
done
echo
echo "antialiasingLevel ${AA:-default}; goals: stand and drive within 1.5 times the floor, effects within 3,"
echo "the program's CPU under 2 ms a frame at the 95th percentile"
printf '%s' "$table"
exit $missed
