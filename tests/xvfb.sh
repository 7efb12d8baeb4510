# A private Xvfb for one test: start_xvfb SCREEN LOGFILE exports DISPLAY,
# stop_xvfb ends it. Sourced by the end-to-end tests and with_xvfb.sh.

XVFB_PID=""
DISPLAY_CLAIM=""

start_xvfb() {
    local screen="$1" log="$2" n owner i
    # Tests run in parallel: claim a display number with an atomic mkdir
    # (freeing claims whose owner is gone), then make sure the server that
    # answers is ours by the pid in its lock file.
    for n in $(seq 20 99); do
        if ! mkdir "/tmp/.tarnwick-x$n" 2>/dev/null; then
            owner=$(cat "/tmp/.tarnwick-x$n/pid" 2>/dev/null || true)
            if [ -n "$owner" ] && ! kill -0 "$owner" 2>/dev/null; then
                rm -rf "/tmp/.tarnwick-x$n"
            fi
            continue
        fi
        echo $$ >"/tmp/.tarnwick-x$n/pid"
        if [ -e "/tmp/.X$n-lock" ]; then
            rm -rf "/tmp/.tarnwick-x$n"
            continue
        fi
        DISPLAY_CLAIM="/tmp/.tarnwick-x$n"
        # -noreset: a server that resets when its last client leaves refuses
        # connections for a moment, and the probe below is such a client.
        # XVFB_ALLOW_RESET=1 keeps the usual behaviour for tests of it.
        local reset="-noreset"
        [ -n "${XVFB_ALLOW_RESET:-}" ] && reset=""
        Xvfb ":$n" -screen 0 "${screen}x24" -nolisten tcp $reset 2>"$log" &
        XVFB_PID=$!
        export DISPLAY=":$n"
        for i in $(seq 1 100); do
            xdpyinfo >/dev/null 2>&1 && break
            sleep 0.05
        done
        if kill -0 "$XVFB_PID" 2>/dev/null &&
            [ "$(tr -d ' \n' <"/tmp/.X$n-lock" 2>/dev/null)" = "$XVFB_PID" ]; then
            return 0
        fi
        stop_xvfb
    done
    return 1
}

stop_xvfb() {
    if [ -n "$XVFB_PID" ]; then
        # Wait until the server is gone: a dying server removes its socket and
        # lock, which must not hit the next server claiming this number.
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=""
    fi
    if [ -n "$DISPLAY_CLAIM" ]; then
        rm -rf "$DISPLAY_CLAIM"
        DISPLAY_CLAIM=""
    fi
}
