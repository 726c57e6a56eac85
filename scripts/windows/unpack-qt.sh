#!/usr/bin/env bash
# Unpacks the Qt built for mingw-w64 (scripts/windows/build-qt-mingw64.sh makes it)
# to build/qt-6.4.2-mingw64, where the windows preset looks for it. Does nothing
# when it is already there. Without the archive it says so in one line and
# succeeds: the windows build then goes on without the window.
# Usage: unpack-qt.sh [ARCHIVE]   (default: ../shared/toolchains/qt-6.4.2-mingw64.tar.xz
# beside the repository)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
archive="${1:-$root/../shared/toolchains/qt-6.4.2-mingw64.tar.xz}"
qt="$root/build/qt-6.4.2-mingw64"

# The marker is written after the move: its presence means a whole unpack.
if [[ -f "$qt/.unpacked" ]]; then
    exit 0
fi
if [[ ! -f "$archive" ]]; then
    echo "Windows build: no Qt for mingw-w64 at $archive; the window will not be built."
    exit 0
fi
rm -rf "$qt" "$qt.partial"
mkdir -p "$qt.partial"
tar -xJf "$archive" -C "$qt.partial"
mv "$qt.partial/qt-6.4.2-mingw64" "$qt"
rmdir "$qt.partial"
touch "$qt/.unpacked"
echo "Windows build: Qt for mingw-w64 unpacked to $qt"
