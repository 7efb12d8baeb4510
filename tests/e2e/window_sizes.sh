#!/bin/bash
# Window and emulated sizes in zozur3.ini that the screen or the drawing layers
# cannot take are reduced, each with one warning; the program runs, leaves
# normally, and the next start finds sizes it can use.
. "$(dirname "$0")/lib.sh"
e2e_begin 1280x720
with_fixture_data

# run_once [SECONDS]: start, wait for the map, leave by SIGTERM, expect a
# clean exit within SECONDS.
run_once() {
    rm -f "$WORK/Tarnwick.log"
    start_app
    find_window >/dev/null
    wait_log "Found 0/0 valid map objects" 60
    kill -TERM "$APP_PID"
    wait_exit "${1:-60}"
    expect_eq "$EXIT_CODE" 0 "exit code"
}

count() { grep -c -- "$1" "$WORK/Tarnwick.log" || true; }

# Windowed sizes beyond the desktop.
for size in "32767 32767" "65536 600" "100000 100000"; do
    set -- $size
    printf '[info]\nversion=1\n[video]\nwidth=%s\nheight=%s\nwindow=True\n' "$1" "$2" > "$WORK/zozur3.ini"
    run_once
    expect_eq "$(count "Warning: zozur3.ini: window $1 by $2 does not fit the desktop")" 1 "warnings for $1x$2"
    width=$(ini_value "$WORK/zozur3.ini" width)
    [ "$width" -le 1280 ] || fail "width $width written back for $1x$2"
    run_once
    expect_eq "$(count "does not fit the desktop")" 0 "warnings on the next start after $1x$2"
done

# An emulated size no layer texture can hold.
printf '[info]\nversion=1\n[video]\nwidth=800\nheight=600\nwindow=True\nemulatedWidth=100000\nemulatedHeight=100000\n' \
    > "$WORK/zozur3.ini"
# Layers at the texture limit are still huge: a frame may take seconds.
run_once 90
expect_eq "$(count "Warning: zozur3.ini: emulated resolution 100000 by 100000 is more than the drawing layers can hold")" \
    1 "emulation warnings"
expect_eq "$(count "Drawing layers .* cannot be made")" 0 "layer failures"
expect_eq "$(count "SFML: .*[Tt]exture")" 0 "texture errors"
emulated=$(ini_value "$WORK/zozur3.ini" emulatedHeight)
[ "$emulated" -lt 100000 ] && [ "$emulated" -ge 480 ] || fail "emulatedHeight $emulated written back"
echo PASS
