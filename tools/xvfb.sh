# Sourced by the scripts that need an X server of their own (the X11 smoke
# test, tools/screenshot, bench/startup.sh, tools/wine-run).
#   start_xvfb [WxHxD]   starts Xvfb on a free display, exports DISPLAY and
#                        XVFB_PID, and returns once the server takes clients
#   stop_xvfb            stops it again (safe to call twice)

start_xvfb() {
    local geometry="${1:-1024x768x24}" fifo number=""
    fifo=$(mktemp -u "${TMPDIR:-/tmp}/xvfb.XXXXXX")
    mkfifo "$fifo"
    # -displayfd: the server picks a free display and writes its number once
    # it is ready, so there is neither a race for the number nor a poll.
    Xvfb -displayfd 3 -screen 0 "$geometry" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    XVFB_PID=$!
    read -r -t 30 number <"$fifo" || true
    rm -f "$fifo"
    if [ -z "$number" ]; then
        echo "error: Xvfb did not start" >&2
        stop_xvfb
        return 1
    fi
    export DISPLAY=":$number" XVFB_PID
}

stop_xvfb() {
    if [ -n "${XVFB_PID:-}" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=
    fi
}
