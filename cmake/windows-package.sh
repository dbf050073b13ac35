#!/usr/bin/env bash
# Makes the Windows packages from the "windows" build: a portable ZIP and an installer.
#
#   windows-package.sh --source=DIR --qt=DIR --out=DIR --version=1.1 --product-version=1.1.0 \
#       --organisation=NAME --application=NAME --settings-key=NAME PROGRAM...
#
# The options may come in any order, and a later one wins. --organisation, --application and
# --settings-key say where the program keeps the remembered file name, which the installer
# keeps over an upgrade and the uninstaller removes. PROGRAM... are the executables to ship,
# in the root of the program's folder. The DLLs that go with them are not listed by hand:
# they are found from the executables' imports (and the imports of those DLLs, and of the Qt
# plugins), among Qt's DLLs and the MinGW runtime; whatever is found in neither is part of
# Windows itself. Leaves in the --out folder:
#   Snoetjesmal-VERSION-windows-x64.zip  the folder Snoetjesmal\ with everything in it
#   Snoetjesmal-VERSION-setup.exe        the installer (NSIS; silent with /S)
set -euo pipefail

declare -A option=()
programs=()
for argument in "$@"; do
    case "$argument" in
    --*=*)
        name=${argument%%=*}
        option[${name#--}]=${argument#*=}
        ;;
    *) programs+=("$argument") ;;
    esac
done
for name in source qt out version product-version organisation application settings-key; do
    if [ -z "${option[$name]:-}" ]; then
        echo "windows-package: --$name is missing" >&2
        exit 2
    fi
done
source_dir=${option[source]}
qt=${option[qt]}
out=${option[out]}
version=${option[version]}

objdump=x86_64-w64-mingw32-objdump
strip=x86_64-w64-mingw32-strip
runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
search=("$qt/bin" "$runtime" /usr/x86_64-w64-mingw32/lib)

work=$out/stage
stage=$work/Snoetjesmal
rm -rf "$work"
mkdir -p "$stage/plugins/platforms" "$stage/plugins/styles" "$stage/translations"

for program in "${programs[@]}"; do
    cp "$program" "$stage/"
done
# The windowing of Windows, and the style of its own controls.
cp "$qt/plugins/platforms/qwindows.dll" "$stage/plugins/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/plugins/styles/"
# Qt's own texts in Dutch (message-box buttons, the name box's edit menu).
cp "$qt/translations/qtbase_nl.qm" "$stage/translations/"
printf '[Paths]\nPrefix = .\nPlugins = plugins\nTranslations = translations\n' >"$stage/qt.conf"

find_dll() {
    local name=$1 folder found
    for folder in "${search[@]}"; do
        found=$(find "$folder" -maxdepth 1 -iname "$name" -print -quit 2>/dev/null)
        if [ -n "$found" ]; then
            echo "$found"
            return
        fi
    done
}

# The closure of the imports, breadth first.
mapfile -t queue < <(find "$stage" -iname '*.exe' -o -iname '*.dll')
declare -A seen=()
while [ ${#queue[@]} -gt 0 ]; do
    binary=${queue[0]}
    queue=("${queue[@]:1}")
    while read -r name; do
        key=${name,,}
        [ -n "${seen[$key]:-}" ] && continue
        seen[$key]=1
        dll=$(find_dll "$name")
        if [ -n "$dll" ]; then
            cp "$dll" "$stage/"
            queue+=("$stage/$(basename "$dll")")
        fi
    done < <("$objdump" -p "$binary" | sed -n 's/^[[:space:]]*DLL Name: //p')
done

find "$stage" \( -iname '*.exe' -o -iname '*.dll' \) -exec "$strip" --strip-unneeded {} +

mkdir -p "$out"
zip=$out/Snoetjesmal-$version-windows-x64.zip
rm -f "$zip"
(cd "$work" && cmake -E tar cf "$zip" --format=zip Snoetjesmal)

# Every file and folder of the package, for the installer, which will not overwrite a file of
# these names that is another program's, and for the uninstaller, which removes them: the
# files, then the folders, deepest first.
files=$work/package-files.nsh
{
    (cd "$stage" && find . -type f | sort) | while read -r f; do
        f=${f#./}
        echo "!insertmacro PACKAGE_FILE \"${f//\//\\}\""
    done
    (cd "$stage" && find . -mindepth 1 -type d | sort -r) | while read -r d; do
        d=${d#./}
        echo "!insertmacro PACKAGE_FOLDER \"${d//\//\\}\""
    done
} >"$files"

setup=$out/Snoetjesmal-$version-setup.exe
makensis -V2 -INPUTCHARSET UTF8 \
    "-DVERSION=$version" "-DPRODUCT_VERSION=${option[product-version]}" \
    "-DSETTINGS_ORGANISATION=${option[organisation]}" \
    "-DSETTINGS_APPLICATION=${option[application]}" "-DSETTINGS_VALUE=${option[settings-key]}" \
    "-DSTAGE=$stage" "-DFILES=$files" \
    "-DICON=$source_dir/src/ui/art/snoetjesmal.ico" "-DOUTFILE=$setup" \
    "$source_dir/data/windows/installer.nsi"

echo "windows-package: $zip"
echo "windows-package: $setup"
