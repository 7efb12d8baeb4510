#!/bin/bash
# A too-small windowed mode is raised to 640 x 480; a frame cap and disabled
# vertical sync in the file are overruled and written back as the test bed runs.
. "$(dirname "$0")/lib.sh"
e2e_begin 1280x720
with_fixture_data
cat > "$WORK/zozur3.ini" <<'INI'
[info]
version=1
[video]
width=320
height=200
window=True
fpsLimit=25
vsyncEnabled=False
INI

start_app
find_window >/dev/null
id=$WIN
geometry=$(xdotool getwindowgeometry "$id" | sed -n 's/.*Geometry: //p')
expect_eq "$geometry" "640x480" "window size"
wait_log "Switched to windowed display resolution 640 by 480"

# The Options window is taller than this window; SIGTERM leaves the same way.
kill -TERM "$APP_PID"
wait_exit 10
expect_eq "$EXIT_CODE" 0 "exit code"
expect_eq "$(ini_value "$WORK/zozur3.ini" width)" 640 width
expect_eq "$(ini_value "$WORK/zozur3.ini" height)" 480 height
expect_eq "$(ini_value "$WORK/zozur3.ini" window)" True window
expect_eq "$(ini_value "$WORK/zozur3.ini" vsyncEnabled)" True vsyncEnabled
expect_eq "$(ini_value "$WORK/zozur3.ini" fpsLimit)" 0 fpsLimit
echo PASS
