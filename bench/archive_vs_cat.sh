#!/usr/bin/env bash
# Times `marrowick-inspect --conflicts` and `marrowick-inspect --json` on one
# generated archive of 2,000 object files (about 100 MB) against reading the
# archive's bytes once with cat.
#
#   bench/archive_vs_cat.sh BUILD_DIR [DIR] [ROUNDS]
#
# BUILD_DIR is a build with -DMARROWICK_BENCH=ON (preset "bench"). The archive
# is generated once into DIR, by default /tmp/marrowick-archive; it is never
# part of the repository. All commands run with a warm cache. With hyperfine
# installed it does the timing; else each of ROUNDS rounds (21 by default) runs
# the three commands once, in an order that turns from round to round, and the
# medians of the times and of each round's ratios to cat are printed.
set -euo pipefail

build=${1:?usage: $0 BUILD_DIR [DIR] [ROUNDS]}
dir=${2:-/tmp/marrowick-archive}
rounds=${3:-21}
inspect="$build/inspect/marrowick-inspect"
archive="$dir/objects.far"

if [ ! -f "$archive" ]; then
    mkdir -p "$dir"
    "$build/bench/make_collection" --archive "$archive"
fi

# --conflicts exits with 3 when GUIDs are shared, as they are here.
floor="cat $archive > /dev/null"
conflicts="$inspect --conflicts $archive > /dev/null || test \$? = 3"
json="$inspect --json $archive > /dev/null"

if command -v hyperfine > /dev/null; then
    exec hyperfine --warmup 2 --runs "$rounds" "$floor" "$conflicts" "$json"
fi

# Microseconds one command takes, by bash's own clock: /usr/bin/time gives
# hundredths of a second, too coarse for a read of a few milliseconds, and
# starting date for each reading would add a millisecond to every command.
microseconds() {
    local start=${EPOCHREALTIME//[!0-9]/}
    eval "$1"
    echo $((${EPOCHREALTIME//[!0-9]/} - start))
}

eval "$floor" && eval "$conflicts" && eval "$json"  # warm the cache and the programs
times=$(mktemp)
trap 'rm -f "$times"' EXIT
round=0
while [ "$round" -lt "$rounds" ]; do
    case $((round % 3)) in
    0) r=$(microseconds "$floor") c=$(microseconds "$conflicts") j=$(microseconds "$json") ;;
    1) c=$(microseconds "$conflicts") j=$(microseconds "$json") r=$(microseconds "$floor") ;;
    *) j=$(microseconds "$json") r=$(microseconds "$floor") c=$(microseconds "$conflicts") ;;
    esac
    echo "$r $c $j" >> "$times"
    round=$((round + 1))
done

# The median over the rounds of an awk expression of each round's times in
# microseconds: $1 the read, $2 --conflicts, $3 --json.
median() {
    awk "{ print $1 }" "$times" | sort -g | awk '{ v[NR] = $1 }
        END { printf "%.2f", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
echo "$(wc -c < "$archive") bytes, $rounds rounds; medians:"
echo "  $floor: $(median "\$1 / 1000") ms"
echo "  $inspect --conflicts: $(median "\$2 / 1000") ms, $(median "\$2 / \$1")x the read"
echo "  $inspect --json: $(median "\$3 / 1000") ms, $(median "\$3 / \$1")x the read"
