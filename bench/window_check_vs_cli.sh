#!/usr/bin/env bash
# Times the window's GUID check of the generated 10,000-file collection (from
# starting it to its report shown) against marrowick-inspect --conflicts on
# the same collection, in paired rounds, and prints the medians and the median
# of each round's ratio.
#
#   bench/window_check_vs_cli.sh BUILD_DIR [COLLECTION_DIR] [ROUNDS]
#
# BUILD_DIR is a build with -DMARROWICK_BENCH=ON (preset "bench"). The
# collection is generated once, as for bench/conflicts_vs_cat.sh. The CLI's time
# includes starting the program; the window's does not, as the user's window is
# already open: it is the second of two checks in one run of bench/window_check.
set -euo pipefail

build=${1:?usage: $0 BUILD_DIR [COLLECTION_DIR] [ROUNDS]}
collection=${2:-/tmp/marrowick-collection}
rounds=${3:-9}
inspect="$build/inspect/marrowick-inspect"

if [ ! -d "$collection" ]; then
    "$build/bench/make_collection" "$collection"
fi

microseconds() {
    local start=${EPOCHREALTIME//[!0-9]/}
    "$@" > /dev/null || true  # --conflicts exits with 3: GUIDs are shared
    echo $((${EPOCHREALTIME//[!0-9]/} - start))
}

"$inspect" --conflicts "$collection" > /dev/null || true  # warm the cache
cli=() window=()
for ((round = 0; round < rounds; ++round)); do
    cli+=("$(microseconds "$inspect" --conflicts "$collection")")
    window+=("$("$build/bench/window_check" "$collection" 2 2> /dev/null |
        awk 'END { printf "%d", $1 * 1000 }')")
done
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ratios=()
for ((i = 0; i < rounds; ++i)); do
    ratios+=("$(awk -v w="${window[i]}" -v c="${cli[i]}" 'BEGIN { printf "%.3f", w / c }')")
done
printf '%d rounds; medians:\n' "$rounds"
printf '  marrowick-inspect --conflicts: %.1f ms\n' "$(awk -v t="$(median "${cli[@]}")" 'BEGIN { print t / 1000 }')"
printf '  the window, check to report:   %.1f ms, %sx the CLI\n' \
    "$(awk -v t="$(median "${window[@]}")" 'BEGIN { print t / 1000 }')" "$(median "${ratios[@]}")"
