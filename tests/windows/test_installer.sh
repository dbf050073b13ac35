#!/usr/bin/env bash
# The Windows installer, as a user meets it, in a fresh Wine prefix: an older version is
# installed and runs; installing and uninstalling then refuse, silently, with an error code
# and nothing changed. Once it is closed this version installs over it and none of the older
# version's files is left, the remembered file name is, and the entry in Windows' list of
# programs gives the size. The installed program shows its window on a virtual X server, and
# every DLL installed is loaded by it or by the render tool.
# Pointed at another program's folder, one holding that program's Uninstall.exe (a stand-in,
# which records it if it is run) or a file of a name ours have, the installer refuses with
# exit code 3 and runs, removes and overwrites nothing.
# Uninstalling leaves a file of the user's, with its folder, and otherwise nothing of ours.
#
#   test_installer.sh SETUP_EXE ZIP SOURCE_DIR STANDIN_EXE SETTINGS_KEY SETTINGS_VALUE \
#       PACKAGE_COMMAND...
#
# PACKAGE_COMMAND is how the build ran cmake/windows-package.sh; the test runs it again for
# the older version, with an extra file.
set -euo pipefail

setup=$1
zip=$2
source_dir=$3
standin=$4
settings_key=$5
settings_value=$6
shift 6
package=("$@")
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

echo "== an older version, with a file this one does not have"
echo "Alleen in de oudere versie." >"$work/OUD.txt"
"${package[@]}" "--out=$work/old" --version=1.0 --product-version=1.0.0 "$work/OUD.txt" >/dev/null
old_setup=$work/old/Snoetjesmal-1.0-setup.exe

"$source_dir/cmake/wine-prefix" "$WINEPREFIX" >/dev/null
windows_path() { wine cmd /c echo "$1" 2>/dev/null | tr -d '\r'; }
unix_path() { winepath -u "$(windows_path "$1")" 2>/dev/null; }
install_dir="$(unix_path '%LOCALAPPDATA%')/Programs/Snoetjesmal"
install_dir_windows="$(windows_path '%LOCALAPPDATA%')\\Programs\\Snoetjesmal"
shortcut="$(unix_path '%APPDATA%')/Microsoft/Windows/Start Menu/Programs/Snoetjesmal.lnk"
temp_dir=$(unix_path '%TEMP%')
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Snoetjesmal'

installed_files() { (cd "$install_dir" && find . -type f | sed 's|^\./||' | sort); }
# What an installer or uninstaller could change: our files, the shortcut, the registration.
state() {
    (cd "$install_dir" && find . -type f -exec md5sum {} + | sort)
    [ -e "$shortcut" ] && echo "shortcut"
    wine reg query "$uninstall_key" 2>/dev/null
}
program=
start_program() {
    (cd "$work" && exec wine "$install_dir/Snoetjesmal.exe") >"$work/program.log" 2>&1 &
    program=$!
    for _ in $(seq 300); do
        xdotool search --onlyvisible --name '^Snoetjesmal v1\.1 - Quorvelin Software$' \
            >/dev/null 2>&1 && return
        kill -0 "$program" 2>/dev/null || { cat "$work/program.log" >&2; fail "the program ended"; }
        sleep 0.1
    done
    cat "$work/program.log" >&2
    fail "no window appeared"
}
stop_program() {
    wineserver -k
    wait "$program" 2>/dev/null || true
}
# The uninstaller's copy of itself under %TEMP% is gone a moment after it ends.
wait_for_uninstaller_copy() {
    for _ in $(seq 100); do
        [ -z "$(find "$temp_dir" -maxdepth 1 -name '~nsu*' 2>/dev/null)" ] && return
        sleep 0.1
    done
    fail "the uninstaller left its copy behind: $(find "$temp_dir" -name '~nsu*')"
}

echo "== the older version, installed silently, remembers a file name and runs"
wine "$old_setup" /S
wineserver -w
[ -f "$install_dir/OUD.txt" ] || fail "the older version is not installed"
wine reg add "$settings_key" /v "$settings_value" /d 'C:\users\Public\blij.bmp' /f >/dev/null 2>&1

echo "== pointed at another program's folder, the installer refuses and changes nothing"
public=$(unix_path '%PUBLIC%')
[ -n "$public" ] && [ -d "$public" ] || fail "the prefix has no Public folder"
standin_log=$work/standin.log
SNOETJESMAL_STANDIN_LOG=$(winepath -w "$standin_log" 2>/dev/null)
export SNOETJESMAL_STANDIN_LOG
folder_state() { (cd "$1" && find . -exec stat -c '%n %s %Y' {} + | sort); }
# folder | what another program has put in it
while IFS='|' read -r folder files; do
    mkdir -p "$public/$folder"
    for file in $files; do
        if [ "$file" = Uninstall.exe ]; then
            cp "$standin" "$public/$folder/$file"
        else
            echo "van het andere programma" >"$public/$folder/$file"
        fi
    done
    others=$(folder_state "$public/$folder")
    before=$(state)
    status=0
    wine "$setup" /S "/D=$(windows_path '%PUBLIC%')\\$folder" </dev/null || status=$?
    wineserver -w
    [ "$status" -eq 3 ] || fail "$folder: the installer ended with $status, not 3"
    [ ! -e "$standin_log" ] || fail "$folder: the other program's uninstaller ran: $(cat "$standin_log")"
    [ "$(folder_state "$public/$folder")" = "$others" ] ||
        fail "$folder: the other program's folder changed:$(diff <(echo "$others") <(folder_state "$public/$folder"))"
    [ "$(state)" = "$before" ] || fail "$folder: the refused installer changed our installation"
done <<'TABLE'
Ander|Uninstall.exe LEESMIJ.txt
Qt-programma|Qt6Core.dll programma.exe
TABLE
# The stand-in does record a run.
wine "$public/Ander/Uninstall.exe" /S </dev/null || true
grep -q '^ran: /S' "$standin_log" || fail "the stand-in uninstaller records no run"

start_xvfb
start_program
before=$(state)

echo "== while it runs, installing and uninstalling refuse and change nothing"
if wine "$setup" /S; then fail "the installer went ahead while the program ran"; fi
[ "$(state)" = "$before" ] || fail "the refused installer changed the installation"
if wine "$install_dir/Uninstall.exe" /S "_?=$install_dir_windows"; then
    fail "the uninstaller went ahead while the program ran"
fi
wine "$install_dir/Uninstall.exe" /S
wait_for_uninstaller_copy
[ "$(state)" = "$before" ] || fail "the refused uninstaller changed the installation"
stop_program

echo "== this version installs over it"
wine "$setup" /S || fail "the installer failed over the older version"
wineserver -w
expected=$( (cmake -E tar tf "$zip" | sed -n 's|^Snoetjesmal/\(.*[^/]\)$|\1|p' &&
    echo Uninstall.exe) | sort)
[ "$(installed_files)" = "$expected" ] ||
    fail "the installed files are not this version's:$(diff <(echo "$expected") <(installed_files))"
wine reg query "$settings_key" /v "$settings_value" 2>/dev/null |
    grep -F 'C:\users\Public\blij.bmp' >/dev/null || fail "the remembered file name was lost"
[ -f "$shortcut" ] || fail "no Start-menu shortcut"
wine reg query "$uninstall_key" /v UninstallString 2>/dev/null | grep -q 'Uninstall.exe' ||
    fail "the uninstaller is not registered with Windows"
# Windows shows the size in KiB; the uninstaller itself may be left out.
estimated=$(wine reg query "$uninstall_key" /v EstimatedSize 2>/dev/null |
    sed -n 's/.*REG_DWORD[[:space:]]*\(0x[0-9a-fA-F]*\).*/\1/p')
[ -n "$estimated" ] || fail "the uninstall entry gives no size"
actual=$(find "$install_dir" -type f ! -name Uninstall.exe -printf '%s\n' |
    awk '{ total += $1 } END { printf "%d", total / 1024 }')
difference=$((estimated - actual))
[ "${difference#-}" -le $((actual / 50)) ] ||
    fail "the uninstall entry gives $((estimated)) KiB, the files take $actual KiB"

echo "== the installed program starts and shows its window"
WINEDEBUG=+loaddll start_program
echo "the render tool answers too"
WINEDEBUG=+loaddll wine "$install_dir/snoetjesmal-render.exe" --eyes 1 --mouth 4 \
    -o 'C:\users\Public\face.bmp' 2>"$work/render.log" || fail "snoetjesmal-render.exe failed"
stop_program
echo "every DLL is one they load"
loaded=$(cat "$work/program.log" "$work/render.log" |
    sed -n 's/.*Loaded L"\(.*\)" at .*/\1/p' | sed 's/.*\\//' | tr '[:upper:]' '[:lower:]')
while read -r dll; do
    name=$(basename "$dll" | tr '[:upper:]' '[:lower:]')
    grep -qxF "$name" <<<"$loaded" || fail "$dll is installed but never loaded"
done < <(installed_files | grep -i '\.dll$')

echo "== from the Start-menu shortcut, which starts it in its own folder, a save lands in Pictures"
pictures="$(unix_path '%USERPROFILE%')/Pictures"
if [ -L "$pictures" ]; then rm "$pictures"; fi # a prefix may link it to the host's folder
mkdir -p "$pictures"
wine reg add "$settings_key" /v "$settings_value" /d 'uit het menu' /f >/dev/null 2>&1
(cd "$work" && exec wine start "$(windows_path '%APPDATA%')\Microsoft\Windows\Start Menu\Programs\Snoetjesmal.lnk") \
    >"$work/shortcut.log" 2>&1
window_named() {
    for _ in $(seq 300); do
        xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 && return
        sleep 0.1
    done
    fail "no window named $1"
}
# Opslaan in the main window, then in the dialog (their places in the client areas).
xdotool mousemove --window "$(window_named 'Snoetjesmal v1\.1 - Quorvelin Software')" 240 180 click 1
xdotool mousemove --window "$(window_named 'Opslaan als')" 264 212 click 1
window_named 'Snoetjesmal' >/dev/null
[ -f "$pictures/uit het menu.bmp" ] || fail "the save did not land in $pictures"
[ ! -e "$install_dir/uit het menu.bmp" ] || fail "the save landed in the program's own folder"
wineserver -k

echo "== uninstalling leaves a file of the user's, and its folder"
echo "van de gebruiker" >"$install_dir/plugins/eigen.txt"
wine "$install_dir/Uninstall.exe" /S
wineserver -w
[ "$(installed_files)" = "plugins/eigen.txt" ] ||
    fail "after uninstalling, the folder holds: $(installed_files | head -5)"
rm "$install_dir/plugins/eigen.txt"

echo "== with only our files, uninstalling leaves nothing"
wine "$setup" /S
wineserver -w
wine "$install_dir/Uninstall.exe" /S
wineserver -w
wait_for_uninstaller_copy
[ ! -e "$install_dir" ] || fail "left behind: $(find "$install_dir" | head -5)"
[ ! -e "$shortcut" ] || fail "the Start-menu shortcut is left behind"
if wine reg query "$uninstall_key" >/dev/null 2>&1; then
    fail "the uninstall entry is left behind"
fi
if wine reg query "$settings_key" >/dev/null 2>&1; then
    fail "the remembered file name is left behind"
fi
echo "PASS"
