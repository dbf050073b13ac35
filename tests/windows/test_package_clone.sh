#!/usr/bin/env bash
# ./scripts/package-windows, as the README gives it, in a fresh clone of the checkout's last
# commit: it must build what it needs itself and leave both packages in dist/.
#
#   test_package_clone.sh SOURCE_DIR
set -euo pipefail

source_dir=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/snoetjesmal-clone-XXXXXX")
trap 'rm -rf "$work"' EXIT

commit=$(git -C "$source_dir" rev-parse HEAD)
if [ -n "$(git -C "$source_dir" status --porcelain --untracked-files=no)" ]; then
    echo "note: the checkout has changes that are not committed; the clone has commit $commit"
fi
git clone --quiet --no-checkout "$source_dir" "$work/clone"
git -C "$work/clone" checkout --quiet --detach "$commit"

(cd "$work/clone" && nice ./scripts/package-windows) || {
    echo "FAIL: ./scripts/package-windows failed in a fresh clone" >&2
    exit 1
}
dist=$work/clone/dist
for package in "$dist"/Snoetjesmal-*-windows-x64.zip "$dist"/Snoetjesmal-*-setup.exe; do
    [ -s "$package" ] || { echo "FAIL: no $(basename "$package") in dist/" >&2; exit 1; }
done
echo "PASS"
