#!/bin/bash
# The test bed's hot keys and windows on the default content: driving moves
# the picture, zoom, help and minimap keys, the tuning editor's File > Save,
# R keeping the selected vehicle with the values edited on disk, and M
# cancelled leaving everything as it was.
. "$(dirname "$0")/lib.sh"
e2e_begin 1280x720
with_default_content
printf '[video]\nrenderScale=3.0\n[game]\nexhaustParticles=False\nambient=False\n' >"$WORK/Tarnwick.ini"

start_app
find_window >/dev/null
wait_log "valid map objects"

# differing pixels of two pictures in a region WxH+X+Y
difference() {
    convert "$1" -alpha off -crop "$3" +repage "$WORK/a.png"
    convert "$2" -alpha off -crop "$3" +repage "$WORK/b.png"
    compare -metric AE "$WORK/a.png" "$WORK/b.png" null: 2>&1 || true
}
white_pixels() { # white_pixels FILE REGION
    convert "$1" -alpha off -crop "$2" +repage -fill black +opaque white -fill white -opaque white \
        -format '%[fx:round(mean*w*h)]' info:
}
backdrop() { # the modal dialogs' backdrop, in a corner the world never paints so flat
    [ "$(pixel 1270 700)" = "24,24,28" ]
}

# Driving: the camera follows, so the world slides under the vehicle.
screenshot before
xdotool keydown w
sleep 3
xdotool keyup w
screenshot after
moved=$(difference "$WORK/before.png" "$WORK/after.png" 1280x300+0+0)
[ "$moved" -gt 20000 ] || fail "the picture did not move while driving ($moved pixels)"

# Zoom: 3.0 -> 3.5, and no further.
press equal equal
# Help and minimap.
press F1 Tab
wait_pixel 1200 0 'r == 255 && g == 255 && b == 255' # the minimap's white frame
screenshot furniture
help=$(white_pixels "$WORK/furniture.png" 300x250+10+40)
bare=$(white_pixels "$WORK/before.png" 300x250+10+40)
[ "$help" -gt $((bare + 500)) ] || fail "no help text ($bare then $help white pixels)"

# The tuning editor: File > Save.
cars="$WORK/Data/Cars"
touch -d '2001-01-01' "$cars/Buggy.ini"
press e
editor_save() {
    click_widget "Tuning Editor" File
    click_widget "Tuning Editor" Save
    wait_widget_gone "Tuning Editor" Save
}
# The frame that takes the click saves and closes the menu.
editor_save
[ "$(date -r "$cars/Buggy.ini" +%Y)" != 2001 ] || fail "File > Save did not write Buggy.ini"
grep -q '^minGearTime=[0-9]*\.[0-9]\{6\}$' "$cars/Buggy.ini" || fail "Buggy.ini not written by the saver"

# R after editing the selected vehicle's file on disk: the same vehicle, with
# the new values (saved again, the file carries them).
press Tab # the minimap covers the vehicle in the middle
wait_pixel_change 1200 0 "255,255,255"
for n in 1 2; do # Hatchback, the third by name
    before=$(pixel 640 350)
    press period
    wait_pixel_change 640 350 "$before"
done
sed -i 's/^maxRPM=.*/maxRPM=7777/' "$cars/Hatchback.ini"
grep -q '^maxRPM=7777$' "$cars/Hatchback.ini" || echo "maxRPM=7777" >>"$cars/Hatchback.ini"
press r
for i in $(seq 1 100); do
    [ "$(grep -c 'Loaded 6 cars' "$WORK/Tarnwick.log")" -ge 2 ] && break
    sleep 0.05
done
expect_eq "$(grep -c 'Loaded 6 cars' "$WORK/Tarnwick.log")" 2 "car lists loaded"
editor_save
grep -q '^maxRPM=7777\.000000$' "$cars/Hatchback.ini" || fail "R did not keep the Hatchback with its new maxRPM"

press Tab
wait_pixel 1200 0 'r == 255 && g == 255 && b == 255'

# M, then Escape in the dialog: no new map.
press u
press m
for i in $(seq 1 100); do backdrop && break; sleep 0.05; done
backdrop || fail "M did not open the map dialog"
press Escape
for i in $(seq 1 100); do backdrop || break; sleep 0.05; done
expect_eq "$(grep -c 'valid map objects' "$WORK/Tarnwick.log")" 1 "map loads"

exit_via_options
wait_exit 10
expect_eq "$EXIT_CODE" 0 "exit code"
expect_eq "$(ini_value "$WORK/Tarnwick.ini" renderScale)" 3.500000 renderScale
expect_eq "$(ini_value "$WORK/Tarnwick.ini" showHelp)" True showHelp
expect_eq "$(ini_value "$WORK/Tarnwick.ini" showMinimap)" True showMinimap
expect_eq "$(ini_value "$WORK/Tarnwick.ini" showTuningEditor)" True showTuningEditor
echo PASS
