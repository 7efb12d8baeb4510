#!/bin/bash
# Reload on save on the default content: the player's vehicle file edited
# from outside while the program runs is taken over (the Tuning Editor then
# lists nothing changed from the file), a file saved as something that is no
# vehicle keeps the running definition, and an edit of the current map
# reloads it with the program still running.
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
