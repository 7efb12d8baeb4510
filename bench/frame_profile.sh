#!/bin/bash
# The CPU time of whole frames of the running program on the default map at
# 1280 x 720, with every effect list at its cap: 600 frames measured inside
# the program under a private Xvfb. Wall time per frame too (the rasteriser's
# work included), against a floor measured first in the same window: frames
# that only clear, draw one screen-sized textured quad and show it.
# Usage: frame_profile.sh [RUN_DIR] [FRAMES]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
run=$(cd "${1:-$here/../build/run}" && pwd)
frames=${2:-600}
. "$here/../tests/xvfb.sh"
work=$(mktemp -d /tmp/tarnwick_profile_XXXXXX)
trap 'stop_xvfb; rm -rf "$work"' EXIT
cp -r "$run/." "$work/"
rm -f "$work/Tarnwick.ini" "$work/zozur3.ini"
start_xvfb 1280x720 "$work/.xvfb.log"
(cd "$work" && ALSOFT_DRIVERS=null TARNWICK_FRAME_PROFILE=$frames timeout 300 ./tarnwick >/dev/null 2>&1) || true
[ -f "$work/frame_profile.txt" ] || { echo "no profile written"; exit 1; }
cat "$work/frame_profile.txt"
p95=$(sed -n 's/^program_ms_p95=//p' "$work/frame_profile.txt")
echo "goal: program_ms_p95 under 4 ms: $(awk -v v="$p95" 'BEGIN { print (v < 4.0) ? "met" : "missed" }')"
ratio=$(sed -n 's/^ratio_to_floor_p50=//p' "$work/frame_profile.txt")
echo "goal: wall time with every effect list at its cap within 3 times the floor: $(awk -v v="$ratio" 'BEGIN { print (v <= 3.0) ? "met" : "missed" }')"
