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

if [ ! -f "$prefix/.marrowick-ready" ]; then
    mkdir -p "$(dirname "$prefix")"
    (
        flock 9
        if [ ! -f "$prefix/.marrowick-ready" ]; then
            rm -rf "$prefix"
            wineboot --init >/dev/null 2>&1
            # wineboot returns before the registry is written out.
            wineserver --wait
            touch "$prefix/.marrowick-ready"
        fi
    ) 9>"$prefix.lock"
fi

exec wine "$@"
