#!/usr/bin/env bash
# The Windows installer, as a user meets it: installs silently into a fresh Wine prefix,
# starts the installed program (with nothing but what the installer put there) until its
# window shows on a virtual X server, and uninstalls silently, leaving nothing of ours.
#
#   test_installer.sh SETUP_EXE SOURCE_DIR
set -euo pipefail

setup=$1
source_dir=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/snoetjesmal-installer-XXXXXX")
export WINEPREFIX=$work/prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset WINEPATH

source "$source_dir/tests/xvfb.sh"
cleanup() {
    wineserver -k 2>/dev/null || true
    stop_xvfb
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

"$source_dir/cmake/wine-prefix" "$WINEPREFIX" >/dev/null
unix_path() { winepath -u "$(wine cmd /c echo "$1" 2>/dev/null | tr -d '\r')" 2>/dev/null; }
install_dir="$(unix_path '%LOCALAPPDATA%')/Programs/Snoetjesmal"
shortcut="$(unix_path '%APPDATA%')/Microsoft/Windows/Start Menu/Programs/Snoetjesmal.lnk"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Snoetjesmal'

echo "== silent install"
wine "$setup" /S
wineserver -w
[ -f "$install_dir/Snoetjesmal.exe" ] || fail "no $install_dir/Snoetjesmal.exe"
[ -f "$install_dir/snoetjesmal-render.exe" ] || fail "no snoetjesmal-render.exe"
[ -f "$install_dir/Uninstall.exe" ] || fail "no uninstaller"
[ -f "$shortcut" ] || fail "no Start-menu shortcut"
wine reg query "$uninstall_key" /v UninstallString 2>/dev/null | grep -q 'Uninstall.exe' ||
    fail "the uninstaller is not registered with Windows"

echo "== the installed program starts and shows its window"
start_xvfb
(cd "$work" && exec wine "$install_dir/Snoetjesmal.exe") >"$work/program.log" 2>&1 &
program=$!
found=
for _ in $(seq 300); do
    found=$(xdotool search --onlyvisible --name '^Snoetjesmal v1\.1 - Quorvelin Software$' 2>/dev/null || true)
    [ -n "$found" ] && break
    kill -0 "$program" 2>/dev/null || { cat "$work/program.log" >&2; fail "the program ended"; }
    sleep 0.1
done
[ -n "$found" ] || { cat "$work/program.log" >&2; fail "no window appeared"; }
echo "the render tool answers too"
wine "$install_dir/snoetjesmal-render.exe" --eyes 1 --mouth 4 -o 'C:\users\Public\face.bmp' ||
    fail "snoetjesmal-render.exe failed"
wineserver -k
wait "$program" 2>/dev/null || true
stop_xvfb

echo "== silent uninstall"
wine "$install_dir/Uninstall.exe" /S
# The uninstaller runs on as a copy of itself; wait for it to finish.
wineserver -w
[ ! -e "$install_dir" ] || fail "left behind: $(find "$install_dir" | head -5)"
[ ! -e "$shortcut" ] || fail "the Start-menu shortcut is left behind"
leftovers=$(find "$(unix_path '%TEMP%')" -name '~nsu*' 2>/dev/null)
[ -z "$leftovers" ] || fail "the uninstaller left its copy behind: $leftovers"
if wine reg query "$uninstall_key" >/dev/null 2>&1; then
    fail "the uninstall entry is left behind"
fi
echo "PASS"
