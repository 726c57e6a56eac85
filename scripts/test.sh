#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: the default build,
# the same suite under AddressSanitizer and UndefinedBehaviorSanitizer, the
# tests of the window's GUID check under ThreadSanitizer, a short run of each
# fuzz target, and the Windows build's tests under wine.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

# clang for the fuzz targets; the rest checks the installed tree and the package.
"$root/scripts/setup.sh" default clang libclang-rt-14-dev \
    desktop-file-utils appstream lintian dpkg-dev man-db
ctest --preset default --parallel "$(nproc)"

"$root/scripts/setup.sh" asan
ctest --preset asan --parallel "$(nproc)"

# The tsan preset builds only the check's test program and runs only its tests.
# Qt is not built for ThreadSanitizer, so the preset has it ignore what Qt's own
# code does; every access of ours is still checked.
"$root/scripts/setup.sh" tsan
ctest --preset tsan

if [[ -x "$root/fuzz/run_short.sh" ]]; then
    "$root/fuzz/run_short.sh"
fi

# Cross-built for Windows with mingw-w64; the tests run as Windows programs under
# wine, in a wine prefix under build/windows. With the Qt for mingw-w64 unpacked,
# the window and its tests too (the fonts are for its offscreen platform), and
# the release zip (groff writes its manual pages), unpacked and started by a test.
"$root/scripts/windows/unpack-qt.sh"
"$root/scripts/setup.sh" windows g++-mingw-w64-x86-64-posix wine wine64 fonts-dejavu-core groff \
    zip unzip
ctest --preset windows --parallel "$(nproc)"
