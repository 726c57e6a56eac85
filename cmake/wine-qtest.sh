#!/bin/sh
# Runs a QtTest program under wine as wine-run.sh does, with its report written
# to a file and then shown: under wine a Qt program's standard output reaches a
# pipe only until its application object starts, so the report would be lost.
# Usage: wine-qtest.sh PREFIX DLL_DIRS PROGRAM [ARGUMENTS...]
set -u
here="$(dirname "$0")"
prefix="$1"
dll_dirs="$2"
program="$3"
shift 3

report="$(mktemp)"
trap 'rm -f "$report"' EXIT
# Wine shows the host's / as drive Z:, and Qt takes '/' in a Windows path.
sh "$here/wine-run.sh" "$prefix" "$dll_dirs" "$program" -o "Z:$report,txt" "$@"
status=$?
cat "$report"
exit "$status"
