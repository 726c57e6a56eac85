#!/bin/sh
# The Windows release zip, unpacked into an empty folder and run from there
# under wine with none of the build's DLL folders on WINEPATH, so that anything
# missing from the zip fails: every DLL that a program or plugin in it imports
# is in it or is Windows' own, marrowick-inspect --version names the version,
# and the window starts on the offscreen platform and ends by itself.
# Usage: smoke.sh ZIP VERSION WINE_RUN PREFIX OBJDUMP SCRATCH
set -eu
zip="$1"
version="$2"
wine_run="$3"
prefix="$4"
objdump="$5"
scratch="$6"

rm -rf "$scratch"
mkdir -p "$scratch"
unzip -q "$zip" -d "$scratch"
cd "$scratch/$(basename "$zip" .zip)"
run() { sh "$wine_run" "$prefix" "" "$@"; }

# The first run also makes the prefix, whose system32 holds Windows' own DLLs.
status=0
run marrowick-inspect.exe --version >"$scratch/version.txt" 2>&1 || status=$?
if [ "$status" != 0 ] || ! grep -qF " $version" "$scratch/version.txt"; then
    echo "marrowick-inspect.exe --version: status $status, expected version $version:"
    cat "$scratch/version.txt"
    exit 1
fi

missing=""
for module in $(find . -iname '*.exe' -o -iname '*.dll'); do
    for dll in $("$objdump" -p "$module" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
        # api-ms-win-* and ext-ms-* name parts of Windows that its loader maps.
        case "$dll" in [Aa][Pp][Ii]-[Mm][Ss]-* | [Ee][Xx][Tt]-[Mm][Ss]-*) continue ;; esac
        if [ -z "$(find . "$prefix/drive_c/windows/system32" -maxdepth 1 -iname "$dll")" ]; then
            missing="$missing $module:$dll"
        fi
    done
done
if [ -n "$missing" ]; then
    echo "DLLs missing from the zip:$missing"
    exit 1
fi

# A GUI program writes nothing to a pipe: its status tells.
status=0
run marrowick.exe -platform offscreen --quit-when-shown || status=$?
if [ "$status" != 0 ]; then
    echo "marrowick.exe -platform offscreen --quit-when-shown: status $status"
    exit 1
fi
echo "$(basename "$zip"): unpacked, marrowick-inspect and the window start"
