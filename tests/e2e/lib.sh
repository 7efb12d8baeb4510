# Shared helpers of the end-to-end tests: a private Xvfb, a scratch working
# directory holding the framework folder, the program started from there, and
# ways to wait for its window, its log and its exit.
#
# Every test sources this file, calls e2e_begin, and may rely on the EXIT trap
# to stop the program and the display and remove the working directory.

set -eu
. "$(dirname "${BASH_SOURCE[0]}")/../xvfb.sh"

: "${RUN_DIR:?RUN_DIR must point at the runnable folder (build/run)}"
APP="$RUN_DIR/tarnwick"
TITLE="Zendrix 2 Tarnwick"
APP_PID=""
WM_PID=""
WORK=""
WIN="" # the program's window, once find_window has seen it
WIDGETS="" # the program's list of the widgets it draws

fail() {
    echo "FAIL: $*" >&2
    if [ -n "$WORK" ] && [ -f "$WORK/Tarnwick.log" ]; then
        echo "--- Tarnwick.log ---" >&2
        cat "$WORK/Tarnwick.log" >&2
    fi
    exit 1
}

e2e_cleanup() {
    if [ -n "$APP_PID" ] && kill -0 "$APP_PID" 2>/dev/null; then
        kill -KILL "$APP_PID" 2>/dev/null || true
    fi
    [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null || true
    stop_xvfb
    [ -n "$WORK" ] && [ -z "${E2E_KEEP:-}" ] && rm -rf "$WORK"
    return 0
}

# e2e_begin [WIDTHxHEIGHT]: display, working directory with zozur3/.
e2e_begin() {
    local screen="${1:-1280x720}"
    WORK=$(mktemp -d /tmp/tarnwick_e2e_XXXXXX)
    trap e2e_cleanup EXIT
    cp -r "$RUN_DIR/zozur3" "$WORK/"
    start_xvfb "$screen" "$WORK/.xvfb.log" || fail "Xvfb did not start"
    export ALSOFT_DRIVERS=null
    WIDGETS="$WORK/.widgets"
    export TARNWICK_WIDGET_LOG="$WIDGETS"
}

# A small map and its colours, so the program starts without the error box
# of a missing default map.
with_fixture_data() {
    mkdir -p "$WORK/Data"
    cp -r "$(dirname "${BASH_SOURCE[0]}")/fixtures/Data/." "$WORK/Data/"
}

# The default content of the runnable folder (a copy: tests may write to it).
with_default_content() {
    cp -r "$RUN_DIR/Data" "$WORK/"
    [ -f "$RUN_DIR/uiConfig.ini" ] && cp "$RUN_DIR/uiConfig.ini" "$WORK/"
    return 0
}

# Without a default map the frame loop's start shows an error box: answer it.
dismiss_missing_map() {
    wait_log 'Message box "Error": IniFile::load: Unable to read from Data\\Maps\\ZQR_Lakes.map'
    answer_box Return
}

# answer_box KEY: waits until a message box is on screen (its OK or Yes
# button drawn), presses KEY and waits until the box is gone. The box logs its
# line before it clears the keys already pressed, so a key sent on the log
# line alone can be lost.
answer_box() {
    local i
    for i in $(seq 1 400); do
        message_box_shown && break
        sleep 0.05
    done
    message_box_shown || fail "no message box drawn"
    press "$1"
    for i in $(seq 1 400); do
        message_box_shown || return 0
        sleep 0.05
    done
    fail "the message box stayed after $1"
}

# message_box_shown: true while a message box's OK or Yes button is drawn.
message_box_shown() { grep -qP '\t(OK|Yes)\t' "$WIDGETS" 2>/dev/null; }

start_window_manager() {
    openbox >/dev/null 2>&1 &
    WM_PID=$!
    local i
    for i in $(seq 1 200); do
        wmctrl -m >/dev/null 2>&1 && return 0
        sleep 0.05
    done
    fail "window manager did not start"
}

start_app() {
    (cd "$WORK" && exec "$APP" >"$WORK/.stdout" 2>"$WORK/.stderr") &
    APP_PID=$!
}

# Finds the program's window once it is visible, sets WIN, moves it to 0,0
# (without a window manager it may open partly off-screen), focuses it and
# prints its id.
find_window() {
    local id i
    id=$(timeout 20 xdotool search --sync --onlyvisible --name "$TITLE" | head -n1) || true
    if [ -z "$id" ]; then
        echo "DISPLAY=$DISPLAY xvfb=$XVFB_PID claim=$DISPLAY_CLAIM lock=$(cat "/tmp/.X${DISPLAY#:}-lock" 2>/dev/null)" >&2
        ps -eo pid,ppid,etimes,args | grep -E "[X]vfb|[t]arnwick" >&2 || true
        cat "$WORK/.xvfb.log" >&2 || true
        fail "no window"
    fi
    WIN="$id"
    # Wait until it has moved (a window manager's frame may keep it a few
    # pixels off 0,0): clicks and pixels are read in window coordinates, but
    # only what lies on the screen can be clicked.
    xdotool windowmove "$id" 0 0 >/dev/null 2>&1 || true
    for i in $(seq 1 100); do
        xdotool getwindowgeometry "$id" 2>/dev/null | grep -q 'Position: [0-9]\{1,2\},[0-9]\{1,2\} ' && break
        sleep 0.05
    done
    xdotool windowfocus --sync "$id" >/dev/null 2>&1 || true
    echo "$id"
}

# window_size: "WIDTH HEIGHT" of the program's window.
window_size() {
    xdotool getwindowgeometry "$WIN" | sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1 \2/p'
}

# pixel X Y: "R,G,B" of the window's pixel at window coordinates.
pixel() {
    import -window "$WIN" -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null |
        sed -n 's/^0,0: *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p'
}

# wait_pixel X Y CONDITION [SECONDS]: waits until the pixel's r, g and b meet
# CONDITION, an arithmetic expression such as 'b > r + 30'.
wait_pixel() {
    local x="$1" y="$2" condition="$3" limit="${4:-20}" r g b end
    end=$((SECONDS + limit))
    while [ "$SECONDS" -le "$end" ]; do
        IFS=, read -r r g b <<<"$(pixel "$x" "$y")"
        if [ -n "$b" ] && (($condition)); then
            return 0
        fi
        sleep 0.05
    done
    fail "pixel $x,$y ($r,$g,$b) never met: $condition"
}

# wait_pixel_change X Y BEFORE [SECONDS]: waits until the pixel is no longer
# the colour BEFORE ("R,G,B", as pixel printed it).
wait_pixel_change() {
    local r0 g0 b0
    IFS=, read -r r0 g0 b0 <<<"$3"
    wait_pixel "$1" "$2" "!(r == $r0 && g == $g0 && b == $b0)" "${4:-20}"
}

# wait_log PATTERN [SECONDS]: waits until the log holds a line matching PATTERN.
wait_log() {
    local pattern="$1" limit="${2:-20}" i
    for i in $(seq 1 $((limit * 20))); do
        grep -q -- "$pattern" "$WORK/Tarnwick.log" 2>/dev/null && return 0
        sleep 0.05
    done
    fail "log never showed: $pattern"
}

# wait_exit [SECONDS]: waits for the program and sets EXIT_CODE.
wait_exit() {
    local limit="${1:-20}" i
    for i in $(seq 1 $((limit * 20))); do
        if ! kill -0 "$APP_PID" 2>/dev/null; then
            set +e
            wait "$APP_PID"
            EXIT_CODE=$?
            set -e
            APP_PID=""
            return 0
        fi
        sleep 0.05
    done
    fail "program did not exit within $limit s"
}

# Key presses. Callers wait for what each key does before relying on it.
press() {
    local k
    for k in "$@"; do
        xdotool key "$k"
    done
}

# Clicks at window coordinates.
click_at() {
    xdotool mousemove --window "$WIN" --sync "$1" "$2"
    # Held about as long as a person holds a click, so the press and the
    # release fall in different frames.
    xdotool mousedown 1
    sleep 0.1
    xdotool mouseup 1
}

# --- widgets by label. With TARNWICK_WIDGET_LOG the program keeps a file
# holding "frame N", its count of frames, and the labelled widgets its last
# frame drew, one a line: "window<TAB>label<TAB>x y w h" in window pixels
# (see framework/WidgetTrace.h). A widget listed there is on screen and takes
# clicks from the next frame on.

# widget_frame: the last frame's number (0 before the first).
widget_frame() {
    local n
    n=$(sed -n 's/^frame //p' "$WIDGETS" 2>/dev/null | head -n1)
    echo "${n:-0}"
}

# wait_frames N: waits until the program has ended N more frames (or ended).
# Input sent before the call has reached the interface two frames on: the
# frame under way when it arrived may have taken its input already. A click
# whose press and release arrive together acts a frame later still.
wait_frames() {
    local target=$(($(widget_frame) + $1)) i
    for i in $(seq 1 400); do
        [ "$(widget_frame)" -ge "$target" ] && return 0
        kill -0 "$APP_PID" 2>/dev/null || return 0
        sleep 0.02
    done
    fail "the program stopped drawing frames (at $(widget_frame), waiting for $target)"
}

# widget_now WINDOW LABEL: "X Y W H" of the first such widget in the last
# frame; empty when it was not drawn.
widget_now() {
    awk -F'\t' -v w="$1" -v l="$2" '$1 == w && $2 == l { print $3; exit }' "$WIDGETS" 2>/dev/null || true
}

widget_shown() { [ -n "$(widget_now "$1" "$2")" ]; }

# widget_rect WINDOW LABEL [SECONDS]: waits until the widget is drawn and
# prints "X Y W H".
widget_rect() {
    local limit="${3:-20}" i rect
    for i in $(seq 1 $((limit * 20))); do
        rect=$(widget_now "$1" "$2")
        [ -n "$rect" ] && echo "$rect" && return 0
        sleep 0.05
    done
    fail "widget \"$2\" of window \"$1\" never drawn; last frame's widgets: $(tr '\t\n' '|;' <"$WIDGETS" 2>/dev/null)"
}

# wait_widget_gone WINDOW LABEL [SECONDS]: waits until a frame no longer draws it.
wait_widget_gone() {
    local limit="${3:-20}" i
    for i in $(seq 1 $((limit * 20))); do
        widget_shown "$1" "$2" || return 0
        sleep 0.05
    done
    fail "widget \"$2\" of window \"$1\" still drawn"
}

# widget_point WINDOW LABEL [FX [FY]]: "X Y" of the point FX of the way
# across the widget and FY of the way down (0 to 1; the middle by default),
# once it is drawn.
widget_point() {
    local x y w h
    read -r x y w h <<<"$(widget_rect "$1" "$2")"
    awk -v x="$x" -v y="$y" -v w="$w" -v h="$h" -v fx="${3:-0.5}" -v fy="${4:-0.5}" \
        'BEGIN { printf "%d %d\n", x + (w - 1) * fx, y + (h - 1) * fy }'
}

# click_widget WINDOW LABEL [FX [FY]]: clicks the widget (a slider at FX of
# its length) once it is drawn, and returns once the interface has acted on
# the click: keys pressed next, which the program reads a frame ahead of the
# mouse, cannot overtake it.
click_widget() {
    local x y
    read -r x y <<<"$(widget_point "$@")"
    click_at "$x" "$y"
    wait_frames 3
}

# The Options window's "Exit" button (Escape opens the window first).
exit_via_options() {
    local attempt i
    # Escape toggles the Options window, and first closes a dialog left open
    # (a map picker or audio panel whose closing key went astray): press it
    # again while the window has not shown. Each press gets long enough for a
    # loaded machine to draw the window, so a second press never closes it.
    for attempt in 1 2 3 4; do
        press Escape
        for i in $(seq 1 100); do
            widget_shown Options Exit && break 2
            sleep 0.05
        done
    done
    click_widget Options Exit
}

ini_value() { # ini_value FILE KEY: the first value of KEY in FILE
    sed -n "s/^$2=//p" "$1" | head -n1
}

expect_eq() {
    [ "$1" = "$2" ] || fail "${3:-value}: expected '$2', got '$1'"
}

# --- pictures from inside the program (F12) and measurements on them.

SHOTS=0
# saved_shots: how many pictures the log says were saved so far.
saved_shots() { grep -c "Saved screenshot to " "$WORK/Tarnwick.log" || true; }
# last_shots N: the file names of the last N saved pictures, one a line.
last_shots() { sed -n 's/.*Saved screenshot to \(screenshot_[0-9_]*\.png\)$/\1/p' "$WORK/Tarnwick.log" | tail -n"$1"; }
# screenshot NAME: F12, waits for the log's "Saved screenshot to" line and
# moves that picture to $WORK/NAME.png, with a copy in $WORK/NAME.mpc that
# ImageMagick reads without decoding it again for every measurement.
screenshot() {
    local i file
    SHOTS=$((SHOTS + 1))
    xdotool key F12
    for i in $(seq 1 200); do
        [ "$(saved_shots)" -ge "$SHOTS" ] && break
        sleep 0.05
    done
    file=$(last_shots 1)
    [ -s "$WORK/$file" ] || fail "screenshot $SHOTS ($1) missing"
    mv "$WORK/$file" "$WORK/$1.png"
    convert "$WORK/$1.png" "$WORK/$1.mpc"
}

# regions IMAGE WxH+X+Y...: one line per region, "R G B SPREAD COLOURS": the
# mean of each channel (0-255), the standard deviation of its grey levels
# (0-255) and its count of distinct colours. One process for all of them: on
# a loaded machine starting ImageMagick costs more than measuring.
regions() {
    local image="$1" geometry args=()
    shift
    for geometry in "$@"; do
        args+=(\( -clone 0 -crop "$geometry" +repage \))
    done
    convert "$image" -alpha off "${args[@]}" -delete 0 \
        -format '%[fx:mean.r*255] %[fx:mean.g*255] %[fx:mean.b*255] %[fx:standard_deviation*255] %k\n' info:
}

# difference_mask A B OUT: OUT is white where the two pictures differ, black
# where they are the same; `regions OUT ...` then gives the changed share
# (R / 255).
difference_mask() {
    convert "$1" "$2" -alpha off -compose difference -composite -colorspace gray -threshold 0 "$3"
}

# profile IMAGE WxH+X+Y rows|cols: the region's mean grey level (0-255) per
# row or per column, one a line.
profile() {
    local w h
    read -r w h <<<"$(convert "$1" -crop "$2" +repage -format '%w %h' info:)"
    local size="1x$h!"
    [ "$3" = cols ] && size="${w}x1!"
    convert "$1" -alpha off -crop "$2" +repage -colorspace gray -scale "$size" -depth 16 -compress none pgm:- |
        awk 'NR > 3 { for (i = 1; i <= NF; i++) print $i / 257 }'
}

# best_shift FILE_A FILE_B MAX: the shift s in [-MAX, MAX] for which line i
# of profile A best matches line i + s of profile B (least mean square over
# an overlap of at least a quarter of A).
best_shift() {
    awk -v max="$3" 'NR == FNR { a[n++] = $1; next } { b[m++] = $1 }
        END {
            best = ""
            for (s = -max; s <= max; s++) {
                sum = 0; c = 0
                for (i = 0; i < n; i++) {
                    j = i + s
                    if (j < 0 || j >= m) continue
                    d = a[i] - b[j]; sum += d * d; c++
                }
                if (c < n / 4) continue
                if (best == "" || sum / c < err) { err = sum / c; best = s }
            }
            print best
        }' "$1" "$2"
}

# camera_shift A B X W: "DX DY", how far the picture moved on screen from A to
# B (a world point at (x, y) in A is at (x + DX, y + DY) in B), measured on
# the still ground of the screen columns X to X + W.
camera_shift() {
    local dy dx h=720
    profile "$1" "${4}x$h+$3+0" rows >"$WORK/.pa"
    profile "$2" "${4}x$h+$3+0" rows >"$WORK/.pb"
    dy=$(best_shift "$WORK/.pa" "$WORK/.pb" 500)
    if [ "$dy" -ge 0 ]; then
        profile "$1" "${4}x$((h - dy))+$3+0" cols >"$WORK/.pa"
        profile "$2" "${4}x$((h - dy))+$3+$dy" cols >"$WORK/.pb"
    else
        profile "$1" "${4}x$((h + dy))+$3+$((-dy))" cols >"$WORK/.pa"
        profile "$2" "${4}x$((h + dy))+$3+0" cols >"$WORK/.pb"
    fi
    dx=$(best_shift "$WORK/.pa" "$WORK/.pb" 40)
    echo "$dx $dy"
}

# Comparisons of decimal numbers: above A B, below A B.
above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }
below() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }
