#!/bin/sh
# The programs of a build tree load no library from the folder they are started
# in: their search path has no empty entry (the loader reads one as the working
# folder), and started from a folder holding look-alikes of the libraries they
# load, they still load the real ones.
# Usage: check_runpath.sh PROGRAM...
set -eu
for tool in readelf ldd; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

for program in "$@"; do
    path=$(readelf -d "$program" | sed -n 's/.*(R[UN]*PATH).*\[\(.*\)\]$/\1/p')
    case ":$path:" in
        ::) ;;  # no search path at all
        *::*) fail "$program has an empty entry in its library search path '$path'" ;;
    esac
    # Look-alikes named as every library the program loads; started among them,
    # it must still resolve each to the same file.
    resolved() { ldd "$program" | sed 's/ *(0x[0-9a-f]*)$//'; }
    (cd / && resolved) >"$scratch/elsewhere"
    awk '$2 == "=>" && $3 ~ /^\// { print $1, $3 }' "$scratch/elsewhere" |
        while read -r name real; do ln -sf "$real" "$scratch/$name"; done
    (cd "$scratch" && resolved) >"$scratch/here"
    diff "$scratch/elsewhere" "$scratch/here" ||
        fail "$program loads libraries from the folder it is started in"
    rm -f "$scratch"/*
done
echo "no program loads a library from the working folder"
