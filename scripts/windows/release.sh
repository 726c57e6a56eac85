#!/usr/bin/env bash
# Makes the Windows release, marrowick-<version>-windows-x64.zip, from Linux:
# installs what is missing (mingw-w64, groff for the manual pages as HTML, zip),
# unpacks the Qt for mingw-w64 (unpack-qt.sh), builds the windows preset and
# prints the zip's path. Its test (ctest --preset windows -R windows_zip) needs wine.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
cd "$root"

"$root/scripts/windows/unpack-qt.sh"
if [[ ! -f build/qt-6.4.2-mingw64/.unpacked && -z "${MARROWICK_QT_MINGW:-}" ]]; then
    echo "No Qt for mingw-w64: the release needs the window. Name its folder in MARROWICK_QT_MINGW." >&2
    exit 1
fi
"$root/scripts/setup.sh" windows g++-mingw-w64-x86-64-posix groff zip -- windows_zip
ls "$root"/build/windows/marrowick-*-windows-x64.zip
