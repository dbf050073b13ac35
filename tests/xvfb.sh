# A virtual X server of the test's own, for tests that show real windows. Source this file;
# start_xvfb starts the server on the first free display and exports DISPLAY, stop_xvfb
# stops it.
#
# Without -noreset the server starts afresh whenever its last client leaves and refuses
# connections meanwhile, so a short-lived check could leave the program without a server.

xvfb_pid=

start_xvfb() { # [WIDTHxHEIGHT]
    local size=${1:-1024x768} display_file
    display_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$display_file" 2>/dev/null &
    xvfb_pid=$!
    for _ in $(seq 200); do
        [ -s "$display_file" ] && break
        sleep 0.05
    done
    if [ ! -s "$display_file" ]; then
        rm -f "$display_file"
        echo "FAIL: Xvfb did not start" >&2
        return 1
    fi
    export DISPLAY=":$(cat "$display_file")"
    rm -f "$display_file"
    unset WAYLAND_DISPLAY
    # The server answers, and it is this one: no other has this screen size.
    if [ "$(xdotool getdisplaygeometry 2>/dev/null | tr ' ' x)" != "$size" ]; then
        echo "FAIL: the X server on $DISPLAY is not the one started here" >&2
        return 1
    fi
}

stop_xvfb() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
        xvfb_pid=
    fi
}
