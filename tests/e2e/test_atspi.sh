#!/usr/bin/env bash
# What assistive technology sees of the real program: starts a virtual X server (Xvfb), a
# private D-Bus session with its own accessibility bus, the program with Qt's accessibility
# switched on, and then a real AT-SPI client (atspi_tree.py, pyatspi) that reads the tree.
#
#   test_atspi.sh PROGRAM PYTHON SOURCE_DIR
#
# Runs itself again inside dbus-run-session, so that nothing of the user's session is used.
set -euo pipefail

program=$1
python=$2
source_dir=$3

if [ -z "${SNOETJESMAL_ATSPI_SESSION:-}" ]; then
    export SNOETJESMAL_ATSPI_SESSION=1
    exec dbus-run-session -- bash "$0" "$@"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/snoetjesmal-atspi-XXXXXX")
xvfb_pid=
program_pid=
cleanup() {
    local status=$?
    if [ -n "$program_pid" ]; then kill "$program_pid" 2>/dev/null || true; fi
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
    wait 2>/dev/null || true
    if [ "$status" -ne 0 ]; then
        echo "--- the program's output:" >&2
        cat "$work/program.log" >&2 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 200); do
    [ -s "$work/display" ] && break
    sleep 0.05
done
[ -s "$work/display" ] || { echo "FAIL: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(cat "$work/display")"
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

"$program" >"$work/program.log" 2>&1 &
program_pid=$!
"$python" "$source_dir/tests/e2e/atspi_tree.py" Snoetjesmal
