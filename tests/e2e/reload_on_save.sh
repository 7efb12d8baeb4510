#!/bin/bash
# Reload on save on the default content: the player's vehicle file edited
# from outside while the program runs is taken over (the Tuning Editor then
# lists nothing changed from the file), a file saved as something that is no
# vehicle keeps the running definition, unsaved edits in the editor stay
# until File > Revert, and an edit of the current map reloads it with the
# program still running.
. "$(dirname "$0")/lib.sh"
e2e_begin 1280x720
with_default_content

start_app
find_window >/dev/null
wait_log "Loaded [0-9]* cars"
car="$WORK/Data/Cars/Buggy.ini"
[ -f "$car" ] || fail "no Buggy.ini in the default content"
press e
widget_rect "Tuning Editor" "Body" >/dev/null

# A new top speed, written the way an editor saves: a new file moved over.
awk -F= '/^maxSpeed=/ { print "maxSpeed=" $2 / 2; next } { print }' "$car" >"$WORK/buggy.new"
mv "$WORK/buggy.new" "$car"
wait_log "Reloaded Buggy from Data/Cars/Buggy.ini" 10
wait_frames 3
widget_shown "Tuning Editor" "Changed from the file" && fail "the editor still differs from the file"

# Not a vehicle file: said, and the definition in use stays.
cp "$car" "$WORK/buggy.good"
echo "<html>saved the wrong tab</html>" >"$car"
wait_log "Vehicle file Data/Cars/Buggy.ini: no vehicle section or key found; the one in use is kept" 10
[ "$(grep -c "Reloaded Buggy" "$WORK/Tarnwick.log")" = 1 ] || fail "a bad file was taken over"
cp "$WORK/buggy.good" "$car"
# The editor lists the bad file's values as changes until it reads the good
# one again; the list moves the sections down a line while it shows.
wait_widget_gone "Tuning Editor" "Changed from the file" 10
wait_frames 3

# Unsaved edits: the mass typed in the editor, then the file changed on disk.
# Nothing is overwritten until File > Revert, which takes the file as it is.
click_widget "Tuning Editor" Body
click_widget "Tuning Editor" Mass 0.1
sleep 0.2
xdotool keydown ctrl sleep 0.15 key a sleep 0.1 keyup ctrl
sleep 0.2
xdotool type --delay 100 123
sleep 0.2
press Return
wait_frames 3
for i in $(seq 1 100); do
    widget_shown "Tuning Editor" "Changed from the file" && break
    sleep 0.05
done
widget_shown "Tuning Editor" "Changed from the file" || fail "the typed mass never showed as changed"
sleep 1.2 # the watcher's look at the restored file, before the next edit
awk -F= '/^maxSpeed=/ { print "maxSpeed=" $2 * 3; next } { print }' "$car" >"$WORK/buggy.new"
mv "$WORK/buggy.new" "$car"
wait_log "Data/Cars/Buggy.ini changed on disk; the unsaved edits of Buggy are kept" 10
[ "$(grep -c "Reloaded Buggy" "$WORK/Tarnwick.log")" = 1 ] || fail "unsaved edits were overwritten"
click_widget "Tuning Editor" File
click_widget "Tuning Editor" Revert
wait_widget_gone "Tuning Editor" "Changed from the file" 10

# The current map, edited: the world is rebuilt round the player.
map="$WORK/Data/Maps/ZQR_Lakes.map"
[ -f "$map" ] || fail "no default map"
printf '\n; edited\n' >>"$map"
wait_log 'Reloaded map Data\\Maps\\ZQR_Lakes.map' 10
wait_frames 5
kill -0 "$APP_PID" 2>/dev/null || fail "the program stopped after the map reload"
exit_via_options
wait_exit 20
expect_eq "$EXIT_CODE" 0 "exit code"
