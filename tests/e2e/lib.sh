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
}

# A small map and its colours, so the program starts without the error box
# of a missing default map.
with_fixture_data() {
    mkdir -p "$WORK/Data"
    cp -r "$(dirname "${BASH_SOURCE[0]}")/fixtures/Data/." "$WORK/Data/"
}

# Without a default map the frame loop's start shows an error box: answer it.
dismiss_missing_map() {
    wait_log 'Message box "Error": IniFile::load: Unable to read from Data\\Maps\\ZQR_Lakes.map'
    sleep 0.3
    press Return
}

start_window_manager() {
    openbox >/dev/null 2>&1 &
    WM_PID=$!
    sleep 0.5
}

start_app() {
    (cd "$WORK" && exec "$APP" >"$WORK/.stdout" 2>"$WORK/.stderr") &
    APP_PID=$!
}

# Prints the program's window id once it is visible, focused and at 0,0.
find_window() {
    local id
    id=$(timeout 20 xdotool search --sync --onlyvisible --name "$TITLE" | head -n1) || true
    if [ -z "$id" ]; then
        echo "DISPLAY=$DISPLAY xvfb=$XVFB_PID claim=$DISPLAY_CLAIM lock=$(cat "/tmp/.X${DISPLAY#:}-lock" 2>/dev/null)" >&2
        ps -eo pid,ppid,etimes,args | grep -E "[X]vfb|[t]arnwick" >&2 || true
        cat "$WORK/.xvfb.log" >&2 || true
        fail "no window"
    fi
    xdotool windowmove "$id" 0 0 >/dev/null 2>&1 || true
    xdotool windowfocus --sync "$id" >/dev/null 2>&1 || true
    echo "$id"
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

# Key presses with a pause, so each lands in its own event poll (30 a second).
press() {
    local k
    for k in "$@"; do
        xdotool key "$k"
        sleep 0.15
    done
}

# Clicks at window coordinates (the window sits at 0,0).
click_at() {
    xdotool mousemove "$1" "$2"
    sleep 0.1
    xdotool click 1
    sleep 0.2
}

# The Options window's "Exit" button (Escape opens the window first).
# On a loaded machine the window can take a few frames to appear and take
# clicks: click again (harmless while it is open) until the program ends.
exit_via_options() {
    local attempt i
    press Escape
    for attempt in 1 2 3 4 5; do
        sleep 0.3
        click_at 179 57
        for i in $(seq 1 20); do
            kill -0 "$APP_PID" 2>/dev/null || return 0
            sleep 0.05
        done
    done
}

ini_value() { # ini_value FILE KEY: the first value of KEY in FILE
    sed -n "s/^$2=//p" "$1" | head -n1
}

expect_eq() {
    [ "$1" = "$2" ] || fail "${3:-value}: expected '$2', got '$1'"
}
