#!/usr/bin/env bash
# Builds the Debian package from a finished build and checks what it holds; given LINTIAN,
# has lintian check the package instead, and fails on any error or warning it reports.
# Usage: check-package.sh BUILD_DIR [LINTIAN]
set -euo pipefail
build_dir=$1
lintian=${2:-}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$out" > "$out/cpack.log" 2>&1 || {
    cat "$out/cpack.log"
    exit 1
}
deb=$(ls "$out"/*.deb)

if [ -n "$lintian" ]; then
    # Every tag lintian shows, information included; errors and warnings fail.
    status=0
    report=$("$lintian" --fail-on error,warning --display-info --tag-display-limit 0 \
        "$deb" 2>&1) || status=$?
    echo "$report"
    if [ "$status" -ne 0 ] || grep -q '^[EW]: ' <<<"$report"; then
        echo "lintian finds errors or warnings in $(basename "$deb")"
        exit 1
    fi
    echo "lintian: $(basename "$deb") has no error or warning"
    exit 0
fi
contents=$(dpkg-deb -c "$deb")
depends=$(dpkg-deb -f "$deb" Depends)

status=0
for path in \
    ./usr/bin/snoetjesmal \
    ./usr/bin/snoetjesmal-render \
    ./usr/share/applications/nl.quorvelin.Snoetjesmal.desktop \
    ./usr/share/metainfo/nl.quorvelin.Snoetjesmal.metainfo.xml \
    ./usr/share/man/man1/snoetjesmal.1.gz \
    ./usr/share/man/man1/snoetjesmal-render.1.gz \
    ./usr/share/doc/snoetjesmal/copyright \
    ./usr/share/doc/snoetjesmal/changelog.gz \
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
