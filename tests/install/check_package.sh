#!/bin/sh
# Makes the Debian package of a build with CPack, checks its control fields,
# runs lintian on it, then unpacks it and runs the unpacked marrowick-inspect.
# Usage: check_package.sh BUILD_DIR VERSION
set -eu
build=$1 version=$2
for tool in cpack dpkg-deb dpkg-shlibdeps lintian; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log"; fail "cpack"; }
deb="$scratch/marrowick_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $deb"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the package's version is not $version"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "Depends lacks the Qt libraries"

lintian --fail-on error "$deb" 2>/dev/null || fail "lintian reports errors"

dpkg -x "$deb" "$scratch/root"
"$scratch/root/usr/bin/marrowick-inspect" --help >"$scratch/help" || fail "unpacked --help"
grep -q '^Usage: marrowick-inspect' "$scratch/help" || fail "unpacked --help printed no usage"
for page in marrowick marrowick-inspect; do
    [ -s "$scratch/root/usr/share/man/man1/$page.1.gz" ] || fail "no compressed $page.1"
done
echo "the package is made, passes lintian, and its marrowick-inspect runs"
