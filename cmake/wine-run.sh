#!/bin/sh
# Runs a Windows program under wine, headless, in a wine prefix of its own.
# Usage: wine-run.sh PREFIX DLL_DIRS PROGRAM [ARGUMENTS...]
# PREFIX is made on first use (two tests starting at once make it once); DLL_DIRS,
# separated by ':', are where the program's DLLs are (the compiler's runtime, Qt).
set -eu
prefix="$1"
dll_dirs="$2"
shift 2

export WINEPREFIX="$prefix"
export WINEDEBUG=-all
# No prompts to install .NET or the HTML engine, and no window for them.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY

winepath=""
old_ifs="$IFS"
IFS=:
for dir in $dll_dirs; do
    # Wine shows the host's / as drive Z:.
    winepath="${winepath:+$winepath;}Z:$(printf '%s' "$dir" | tr / '\\')"
done
IFS="$old_ifs"
export WINEPATH="$winepath"

# The marker's name changes when what a new prefix is given does.
ready="$prefix/.marrowick-ready-2"
if [ ! -f "$ready" ]; then
    mkdir -p "$(dirname "$prefix")"
    (
        flock 9
        if [ ! -f "$ready" ]; then
            rm -rf "$prefix"
            wineboot --init >/dev/null 2>&1
            # Wine passes no host variable named QT_* to a program, so the Qt
            # programs' headless platform and the fonts it draws with (Qt ships
            # none; Debian's fonts-dejavu-core) are the prefix's own.
            wine reg add 'HKCU\Environment' /v QT_QPA_PLATFORM /d offscreen /f >/dev/null 2>&1
            wine reg add 'HKCU\Environment' /v QT_QPA_FONTDIR \
                /d 'Z:\usr\share\fonts\truetype\dejavu' /f >/dev/null 2>&1
            # wineboot and reg return before the registry is written out.
            wineserver --wait
            touch "$ready"
        fi
    ) 9>"$prefix.lock"
fi

exec wine "$@"
