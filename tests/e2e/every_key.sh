#!/bin/bash
# Every key a keyboard has, alone and with Ctrl, Shift and Alt, in every state
# of the program's windows, on the default content: the program stays up,
# nothing asserts, and SIGTERM still leaves with the settings written. Also
# Ctrl+Z and Ctrl+Y in the tuning editor undo and redo an edit.
. "$(dirname "$0")/lib.sh"
e2e_begin 1280x720
with_default_content
printf '[game]\nexhaustParticles=False\nambient=False\n' >"$WORK/Tarnwick.ini"
cars="$WORK/Data/Cars"

start_app
find_window >/dev/null
wait_log "valid map objects"

alive() {
    kill -0 "$APP_PID" 2>/dev/null || {
        echo "--- stderr ---" >&2
        cat "$WORK/.stderr" >&2
        fail "the program died $1"
    }
}

# Every key SFML names, as xdotool calls them.
keys=()
for k in {a..z} {0..9} F{1..15} KP_{0..9}; do keys+=("$k"); done
keys+=(Control_L Control_R Shift_L Shift_R Alt_L Alt_R Super_L Super_R Menu
    Left Right Up Down Prior Next Home End Insert Delete Pause
    KP_Add KP_Subtract KP_Multiply KP_Divide
    bracketleft bracketright semicolon comma period apostrophe slash backslash
    grave equal minus space Return BackSpace Tab Escape)
combos=()
for m in ctrl shift alt; do
    for k in {a..z}; do combos+=("$m+$k"); done
done
combos+=(ctrl+shift+z ctrl+F12 shift+F12)

# storm NAME BACK AWAY...: presses every key and combination. A key named in
# AWAY leaves the state, so BACK (xdotool commands, "key t" or "click 1
# sleep 0.3") follows it to come back.
storm() {
    local name="$1" back="$2" args=() k a m
    shift 2
    # A person holds a modifier across several frames before the letter.
    for m in ctrl shift alt; do
        args+=(keydown "$m" sleep 0.15 key x sleep 0.1 keyup "$m")
    done
    args+=(key --delay 8)
    for k in "${keys[@]}" "${combos[@]}"; do
        args+=("$k")
        for a in "$@"; do
            if [ "$k" = "$a" ]; then
                # shellcheck disable=SC2206 # BACK is a list of words
                args+=($back key --delay 8)
                break
            fi
        done
    done
    local t0=$SECONDS
    xdotool "${args[@]}"
    echo "storm $name: $((SECONDS - t0)) s" >&2
    alive "while keys were pressed with $name"
}

# A modal dialog's backdrop: the map and file dialogs and message boxes, or
# the audio panel.
backdrop() {
    local p
    p=$(pixel 1270 700)
    [ "$p" = "24,24,28" ] || [ "$p" = "16,16,20" ]
}

# back_to_driving: closes a modal dialog or the Options window left open.
back_to_driving() {
    local i
    for i in $(seq 1 10); do
        sleep 0.3
        if backdrop || widget_shown Options Exit; then
            press Escape
        else
            return 0
        fi
    done
    fail "a dialog stayed open"
}

editor_save() { # File > Save of the tuning editor: the frame taking the click saves
    local stamp
    stamp=$(date -r "$cars/Buggy.ini" +%s%N)
    click_widget "Tuning Editor" File
    click_widget "Tuning Editor" Save
    wait_widget_gone "Tuning Editor" Save
    [ "$(date -r "$cars/Buggy.ini" +%s%N)" != "$stamp" ] || fail "File > Save did not write Buggy.ini"
}

# chord MODIFIER KEY: the modifier held as a person holds it, over frames.
chord() { xdotool keydown "$1" sleep 0.15 key "$2" sleep 0.1 keyup "$1"; }

# wait_changed 0|1 WHAT: waits until the editor's "Changed from the file"
# line is gone (0) or shown (1).
wait_changed() {
    local i n
    for i in $(seq 1 100); do
        alive "at $2"
        n=0
        widget_shown "Tuning Editor" "Changed from the file" && n=1
        [ "$n" = "$1" ] && return 0
        sleep 0.05
    done
    fail "$2: the editor's changed-values line never became $1"
}

# Undo and redo: the Buggy's mass typed as 123, then Ctrl+Z and Ctrl+Y, seen
# in the editor's list of values changed from the file, and the redone value
# saved and read back.
press e
click_widget "Tuning Editor" Body
# Mass's text field is the left part of the widget, before its - and +
# buttons and its label.
click_widget "Tuning Editor" Mass 0.1
sleep 0.2
chord ctrl a
sleep 0.2
xdotool type --delay 100 123
sleep 0.2
# The field takes each digit as it is typed, and keeps Ctrl+Z for its text
# while it is active: Return has to be through before the chord.
press Return
wait_frames 3
wait_changed 1 "the typed mass"
chord ctrl z
wait_changed 0 "Ctrl+Z"
chord ctrl y
wait_changed 1 "Ctrl+Y"
editor_save
grep -q '^mass=123\.000000$' "$cars/Buggy.ini" || fail "Ctrl+Y did not bring back the typed mass: $(grep mass= "$cars/Buggy.ini")"

# The editor with its Mass field being typed in; a key that leaves the field
# is followed by a click back into it. Mass sits a text line (less than its
# own height) lower while "Changed from the file" shows, which the storm's
# typing turns on and off: its lowest rows are on the field either way.
click_widget "Tuning Editor" Mass 0.1 0.95
storm "the editor's Mass field active" "click 1" Escape Return KP_Enter Tab
back_to_driving
editor_open() { widget_shown "Tuning Editor" File; }
editor_open && press e

# Driving, with nothing open: each key that opens something closes it again.
storm "driving" "sleep 0.3 key Escape sleep 0.3" Escape m F5
back_to_driving

# The Options window.
press Escape
storm "the Options window" "sleep 0.2 key Escape" Escape
back_to_driving

# Telemetry, and the script console.
editor_open && press e
press t
storm "the Telemetry window" "key t" t
back_to_driving
press grave
storm "the script console" "key grave" grave
back_to_driving

# The map dialog: keys that close or choose open it again.
press m
for i in $(seq 1 100); do backdrop && break; sleep 0.05; done
storm "the map dialog" "sleep 0.5 key m sleep 0.3" Escape Return KP_Enter
back_to_driving

# The audio panel (F3 opens its file dialog), and its "Defaults" question as
# a message box, asked again by a click after each answer.
press F5
for i in $(seq 1 100); do backdrop && break; sleep 0.05; done
storm "the audio panel" "sleep 0.3 key F5 sleep 0.3" Escape F5 F3
back_to_driving
press F5
for i in $(seq 1 100); do backdrop && break; sleep 0.05; done
click_widget "Audio Panel" Defaults
wait_log 'Message box "Confirm": Are you sure that you want to set default'

storm "the message box" "sleep 0.2 click 1 sleep 0.3" Return KP_Enter Escape y n
back_to_driving

alive "after the last state"
if grep -Ei 'assert|Mismatching|Too many vertices' "$WORK/.stderr"; then
    fail "an assertion was reported"
fi
kill -TERM "$APP_PID"
wait_exit 10
expect_eq "$EXIT_CODE" 0 "exit code"
grep -q "Events poller stopped" "$WORK/Tarnwick.log" || fail "no orderly shutdown"
[ -f "$WORK/Tarnwick.ini" ] && [ -f "$WORK/zozur3.ini" ] || fail "settings not written"
echo PASS
