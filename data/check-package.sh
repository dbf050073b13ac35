#!/usr/bin/env bash
# Builds the Debian package from a finished build and checks what it holds.
# Usage: check-package.sh BUILD_DIR
set -euo pipefail
build_dir=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$out" > "$out/cpack.log" 2>&1 || {
    cat "$out/cpack.log"
    exit 1
}
deb=$(ls "$out"/*.deb)
contents=$(dpkg-deb -c "$deb")
depends=$(dpkg-deb -f "$deb" Depends)

status=0
for path in \
    ./usr/bin/snoetjesmal \
    ./usr/bin/snoetjesmal-render \
    ./usr/share/applications/nl.quorvelin.Snoetjesmal.desktop \
    ./usr/share/metainfo/nl.quorvelin.Snoetjesmal.metainfo.xml \
    ./usr/share/icons/hicolor/scalable/apps/nl.quorvelin.Snoetjesmal.svg \
    ./usr/share/icons/hicolor/{16x16,24x24,32x32,48x48,64x64,128x128,256x256}/apps/nl.quorvelin.Snoetjesmal.png; do
    if ! grep -q " $path\$" <<<"$contents"; then
        echo "missing from the package: $path"
        status=1
    fi
done
# The dependencies are worked out from the libraries the programs use.
for library in libqt6widgets6 libqt6gui6 libqt6core6 libc6 qt6-qpa-plugins; do
    if ! grep -q "$library" <<<"$depends"; then
        echo "not among the dependencies ($depends): $library"
        status=1
    fi
done
echo "package: $(basename "$deb")"
echo "depends: $depends"
exit $status
