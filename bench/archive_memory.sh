#!/usr/bin/env bash
# Peak memory of every mode of marrowick-inspect on archives whose manifest
# lists one small object file 200,000 times, against the budget of 64 MiB plus
# 1 KiB per member.
#
#   bench/archive_memory.sh BUILD_DIR [DIR] [ENTRIES]
#
# BUILD_DIR is a build with -DMARROWICK_BENCH=ON (preset "bench"). Two archives
# are generated once into DIR, by default /tmp/marrowick-memory, and kept
# there: one with short member names (16 bytes), one with names of 1,020 bytes,
# near the longest allowed. Each mode runs once under GNU time, which gives the
# peak resident set size; the output goes to /dev/null.
set -euo pipefail

build=${1:?usage: $0 BUILD_DIR [DIR] [ENTRIES]}
dir=${2:-/tmp/marrowick-memory}
entries=${3:-200000}
inspect="$build/inspect/marrowick-inspect"
budget=$((64 * 1024 + entries))  # KiB

mkdir -p "$dir"
for length in 16 1020; do
    archive="$dir/entries-$entries-$length.far"
    if [ ! -f "$archive" ]; then
        "$build/bench/make_collection" --entries "$archive" "$entries" "$length"
    fi
done

echo "budget: $budget KiB (64 MiB + 1 KiB x $entries members)"
status=0
for length in 16 1020; do
    archive="$dir/entries-$entries-$length.far"
    for mode in "" "--json" "--conflicts" "--conflicts --json"; do
        for chunks in "" "--walk-chunks"; do
            # --conflicts exits with 1 or 3 on what it finds; only the peak matters here.
            peak=$(/usr/bin/time -f "%M" "$inspect" $mode $chunks "$archive" 2>&1 >/dev/null |
                tail -n 1)
            verdict=ok
            if [ "$peak" -gt "$budget" ]; then
                verdict=OVER
                status=1
            fi
            printf '%5s-byte names  %-36s %8s KiB  %3s%% of budget  %s\n' "$length" \
                "${mode:-(table)} $chunks" "$peak" $((peak * 100 / budget)) "$verdict"
        done
    done
done
exit $status
