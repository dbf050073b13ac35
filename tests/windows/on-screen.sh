#!/usr/bin/env bash
# Runs a Windows test program on Windows' own platform plugin, in a real window on a virtual
# X server of its own, under Wine.
#
#   on-screen.sh SOURCE_DIR WINE_PREFIX WINE_DLL_PATH PROGRAM [ARGUMENTS...]
#
# With SNOETJESMAL_DPI set (96, 120, 144, 192: 100 to 200 %), Windows' screen resolution is
# set to that many dots per inch for the run, and given back afterwards.
set -euo pipefail

source_dir=$1
prefix=$2
dll_path=$3
shift 3

source "$source_dir/tests/xvfb.sh"
start_xvfb 1024x768
# Wine's desktop belongs to the prefix's server: one started without a display can make no
# windows. Stop it, so that this program starts a server with the display.
WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
WINEPREFIX="$prefix" wineserver -w 2>/dev/null || true

set_dpi() { # dots per inch
    # "wine reg" has failed here once on a busy machine, and the same test passed when run
    # again; so it gets three tries, and Wine's own words go to the log if all of them fail.
    local try out
    for try in 1 2 3; do
        if out=$(WINEPREFIX="$prefix" WINEDEBUG=-all wine reg add 'HKCU\Control Panel\Desktop' \
            /v LogPixels /t REG_DWORD /d "$1" /f 2>&1); then
            # The server writes the registry out when it ends by itself.
            WINEPREFIX="$prefix" wineserver -w 2>/dev/null || true
            return 0
        fi
        WINEPREFIX="$prefix" wineserver -w 2>/dev/null || true
        sleep "$try"
    done
    printf '%s\n' "$out" >&2
    return 1
}
dpi=${SNOETJESMAL_DPI:-}
if [ -n "$dpi" ] && ! set_dpi "$dpi"; then
    echo "FAIL: the screen resolution could not be set to $dpi dpi" >&2
    stop_xvfb
    exit 1
fi

unset QT_QPA_PLATFORM
status=0
"$source_dir/cmake/wine-run" "$prefix" "$dll_path" "$@" || status=$?
WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
[ -z "$dpi" ] || set_dpi 96
stop_xvfb
exit "$status"
