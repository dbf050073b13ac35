#!/usr/bin/env bash
# End to end in a real X window: starts its own virtual X server (Xvfb), starts the real
# program in it with a temporary home and settings, and works it with real mouse and keyboard
# input (xdotool), reading what the screen shows back pixel for pixel.
#
#   test_e2e.sh PROGRAM FACECHECK SOURCE_DIR [WINE_PREFIX WINE_DLL_PATH]
#
# The place of the setting comes from the environment: SNOETJESMAL_SETTINGS_ORGANISATION,
# SNOETJESMAL_SETTINGS_APPLICATION and SNOETJESMAL_SETTINGS_KEY, as the build defines them.
#
# With a Wine prefix, PROGRAM is the Windows build's Snoetjesmal.exe, run under Wine (see
# cmake/wine-run) in that prefix: it saves into a folder on the prefix's drive C:, and the
# name it keeps is read back from the prefix's registry.
#
# The build adds this test only where Xvfb, xdotool and ImageMagick's import are found. On
# failure the screenshots and the program's output are kept in e2e-artifacts/ in the current
# folder.
set -euo pipefail

program=$1
facecheck=$2
source_dir=$3
wine_prefix=${4:-}
wine_dll_path=${5:-}
# Where the program keeps the name: the build passes its definitions on.
settings_organisation=${SNOETJESMAL_SETTINGS_ORGANISATION:?set by the build}
settings_application=${SNOETJESMAL_SETTINGS_APPLICATION:?set by the build}
settings_key=${SNOETJESMAL_SETTINGS_KEY:?set by the build}

for tool in Xvfb xdotool import; do
    if ! command -v "$tool" >/dev/null; then
        echo "FAIL: $tool is not installed (./scripts/setup installs it)" >&2
        exit 1
    fi
done

source "$source_dir/tests/xvfb.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/snoetjesmal-e2e-XXXXXX")
artifacts="$PWD/e2e-artifacts"
rm -rf "$artifacts"
program_pid=

cleanup() {
    local status=$?
    if [ -n "$program_pid" ]; then kill "$program_pid" 2>/dev/null || true; fi
    if [ -n "$wine_prefix" ]; then WINEPREFIX="$wine_prefix" wineserver -k 2>/dev/null || true; fi
    stop_xvfb
    wait 2>/dev/null || true
    if [ "$status" -ne 0 ]; then
        mkdir -p "$artifacts"
        cp -r "$work"/*.png "$work"/*.log "$artifacts"/ 2>/dev/null || true
        echo "--- the program's output:" >&2
        cat "$work/program.log" >&2 2>/dev/null || true
        echo "--- screenshots and logs kept in $artifacts" >&2
    fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

step() {
    echo "== $*"
}

# --- The X server, on the first free display.
start_xvfb 1024x768 || exit 1

# --- A home of its own: no settings of the user's, and saves land in a folder of the test.
export HOME="$work/home"
export XDG_CONFIG_HOME="$HOME/.config"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$work/folder"
chmod 700 "$XDG_RUNTIME_DIR"
folder="$work/folder"
launch=("$program")
if [ -n "$wine_prefix" ]; then
    # The Windows program on Windows' own platform plugin, saving onto drive C:.
    unset QT_QPA_PLATFORM
    folder="$wine_prefix/drive_c/e2e"
    rm -rf "$folder"
    mkdir -p "$folder"
    launch=("$source_dir/cmake/wine-run" "$wine_prefix" "$wine_dll_path" "$program")
    # Wine's desktop belongs to the prefix's server: one started by a test without a display
    # can make no windows on this one. Stop it, so that this test starts a server of its own.
    WINEPREFIX="$wine_prefix" wineserver -k 2>/dev/null || true
    WINEPREFIX="$wine_prefix" wineserver -w 2>/dev/null || true
else
    export QT_QPA_PLATFORM=xcb
fi

# The name the program keeps, as the system's settings store holds it.
stored_name() {
    if [ -n "$wine_prefix" ]; then
        WINEPREFIX="$wine_prefix" WINEDEBUG=-all wine reg query \
            "HKCU\\Software\\$settings_organisation\\$settings_application" \
            /v "$settings_key" 2>/dev/null |
            tr -d '\r' | sed -n "s/^ *$settings_key *REG_SZ *//p"
    else
        # As Qt's settings read the file, which writes a value that begins with "@" as "@@".
        "$facecheck" setting "$XDG_CONFIG_HOME/$settings_organisation/$settings_application.conf" \
            "$settings_key"
    fi
}

# The save dialog opens in the folder the program was started in.
(cd "$folder" && exec "${launch[@]}") >"$work/program.log" 2>&1 &
program_pid=$!

# The id of the visible window whose title matches exactly, once it is there.
wait_window() {
    local title=$1 id
    for _ in $(seq 200); do
        id=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -n 1 || true)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        kill -0 "$program_pid" 2>/dev/null || fail "the program ended while waiting for \"$title\""
        sleep 0.1
    done
    fail "no window \"$title\" appeared"
}

wait_window_gone() {
    local title=$1
    for _ in $(seq 200); do
        if [ -z "$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null || true)" ]; then
            return 0
        fi
        sleep 0.1
    done
    fail "the window \"$title\" did not go away"
}

click() { # window x y, in the window's client area
    xdotool mousemove --window "$1" "$2" "$3" click 1
    sleep 0.05
}

keys() { # window key...
    xdotool windowfocus --sync "$1"
    shift
    for key in "$@"; do
        xdotool key "$key"
        sleep 0.05
    done
}

# picSmiley: picBorder at (16, 32), inside its 2-pixel border, at (40, 40).
grab_preview() { # file
    import -silent -window "$main" -crop 19x19+58+74 +repage "png:$1"
}

# Waits until the preview shows the face made by these steps (see facecheck expect).
expect_preview() { # description step...
    local description=$1
    shift
    "$facecheck" expect "$work/expected.png" "$@"
    for _ in $(seq 100); do
        grab_preview "$work/preview.png"
        if "$facecheck" same "$work/preview.png" "$work/expected.png" >/dev/null; then
            return 0
        fi
        sleep 0.1
    done
    "$facecheck" same "$work/preview.png" "$work/expected.png" || true
    fail "the preview does not show $description"
}

changes_preview() { # what command...: presses Random by the command until the face changes
    local what=$1
    shift
    cp "$work/preview.png" "$work/before.png"
    for _ in 1 2 3 4 5; do
        # One press in some 300 draws the same face again; then another press is needed.
        "$@"
        for _ in $(seq 20); do
            grab_preview "$work/preview.png"
            if ! "$facecheck" same "$work/preview.png" "$work/before.png" > /dev/null; then
                return
            fi
            sleep 0.1
        done
    done
    fail "$what did not change the preview"
}

# Places in the main window's client area (pixels at 96 dpi).
eyes_left=(141 66)
eyes_right=(259 66)
mouth_right=(259 106)
random_button=(176 180)
save_button=(240 180)
# And in the save dialog.
name_box=(172 169)
dialog_save=(264 212)

step "the window appears with its caption and client size"
main=$(wait_window 'Snoetjesmal v1\.1 - Quorvelin Software')
eval "$(xdotool getwindowgeometry --shell "$main")"
[ "$WIDTH" = 281 ] && [ "$HEIGHT" = 200 ] || fail "the client area is ${WIDTH}x$HEIGHT, not 281x200"

step "the preview shows the blank face"
for _ in $(seq 50); do
    grab_preview "$work/preview.png"
    "$facecheck" same "$work/preview.png" "$source_dir/src/core/faces/BlankFace.bmp" >/dev/null &&
        break
    sleep 0.1
done
"$facecheck" same "$work/preview.png" "$source_dir/src/core/faces/BlankFace.bmp" ||
    fail "the preview is not the blank face"

step "the eye bar's arrow, three clicks: eyes 3"
for _ in 1 2 3; do click "$main" "${eyes_right[@]}"; done
expect_preview "eyes 3" e3

step "the mouth bar's arrow, fifteen clicks: the stretched mouth 15"
for _ in $(seq 15); do click "$main" "${mouth_right[@]}"; done
expect_preview "eyes 3 and mouth 15" e3 m15

step "the keyboard: Left on the mouth bar, Tab to the eye bar, Right, End"
keys "$main" Left
expect_preview "eyes 3 and mouth 14" e3 m14
keys "$main" Tab Right
expect_preview "mouth 14 and then eyes 4" m14 e4
keys "$main" End
expect_preview "mouth 14 and then eyes 20" m14 e20

step "Tab to Random: Enter on the focused button changes the preview"
keys "$main" Tab
changes_preview "Enter on the focused Random" keys "$main" Return

step "Random changes the preview to a face the bars can make"
sleep 0.3 # both bars move in one press; let the second redraw reach the screen
grab_preview "$work/preview.png"
changes_preview "Random" click "$main" "${random_button[@]}"
sleep 0.3 # both bars move in one click; let the second redraw reach the screen
grab_preview "$work/preview.png"
"$facecheck" identify "$work/preview.png" || fail "Random made a face the bars cannot make"
cp "$work/preview.png" "$work/saved-preview.png"

step "Opslaan opens \"Opslaan als\"; Enter in the name box and Escape do nothing"
click "$main" "${save_button[@]}"
dialog=$(wait_window 'Opslaan als')
click "$dialog" "${name_box[@]}"
keys "$dialog" ctrl+a
# A name that begins with "@" is kept as typed, also where others read the settings.
name='@e2e gezicht'
xdotool type --delay 20 "$name"
saved="$folder/$name.bmp"
keys "$dialog" Return Escape
sleep 0.5
[ ! -e "$saved" ] || fail "Enter in the name box saved"
[ -z "$(xdotool search --onlyvisible --name '^Snoetjesmal$' 2>/dev/null || true)" ] ||
    fail "Enter in the name box showed a message"
[ -n "$(xdotool search --onlyvisible --name '^Opslaan als$' 2>/dev/null || true)" ] ||
    fail "Escape put the dialog away"

step "Tab to Opslaan: Enter saves the typed name"
keys "$dialog" Tab Return
message=$(wait_window 'Snoetjesmal')
[ -f "$saved" ] || fail "no file $saved"
"$facecheck" same "$saved" "$work/saved-preview.png" || fail "the saved file is not the preview"
[ "$(stored_name)" = "$name" ] || fail "the settings hold \"$(stored_name)\", not \"$name\""
keys "$message" Return
wait_window_gone 'Snoetjesmal'
wait_window_gone 'Opslaan als'

step "a second save, Enter as the dialog opens on Opslaan, asks \"Bestand vervangen\"; No leaves the file"
cp "$saved" "$work/first-save.bmp"
click "$main" "${eyes_left[@]}" # another face, which a wrong save would write
sleep 0.3
click "$main" "${save_button[@]}"
dialog=$(wait_window 'Opslaan als')
keys "$dialog" Return
question=$(wait_window 'Bestand vervangen')
keys "$question" alt+n
wait_window_gone 'Bestand vervangen'
cmp -s "$saved" "$work/first-save.bmp" || fail "No changed the file"
wait_window 'Opslaan als' >/dev/null
keys "$dialog" Tab Return # Annuleer, after Opslaan
wait_window_gone 'Opslaan als'
cmp -s "$saved" "$work/first-save.bmp" || fail "the file changed after No"

step "the close box ends the program cleanly"
"$facecheck" close "$main"
for _ in $(seq 300); do
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$program_pid" 2>/dev/null; then
    fail "the program did not end when its window was closed"
fi
status=0
wait "$program_pid" || status=$?
program_pid=
[ "$status" -eq 0 ] || fail "the program ended with status $status"

step "started in its own folder, as the Start menu starts it, a save lands in Pictures"
pictures="$HOME/Pictures"
if [ -n "$wine_prefix" ]; then
    # The prefix's Pictures known folder, a folder of its own where Wine linked it to the host's.
    pictures="$wine_prefix/drive_c/users/${USER:-$(id -un)}/Pictures"
    if [ -L "$pictures" ]; then rm "$pictures"; fi
fi
mkdir -p "$pictures"
(cd "$(dirname "$program")" && exec "${launch[@]}") >>"$work/program.log" 2>&1 &
program_pid=$!
main=$(wait_window 'Snoetjesmal v1\.1 - Quorvelin Software')
click "$main" "${save_button[@]}"
click "$(wait_window 'Opslaan als')" "${dialog_save[@]}"
wait_window 'Snoetjesmal' >/dev/null
[ -f "$pictures/$name.bmp" ] || fail "no $name.bmp in $pictures"
echo "PASS"
