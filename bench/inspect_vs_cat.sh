#!/usr/bin/env bash
# Times `marrowick-inspect --json`, its table, `--conflicts` and `--find` (by a
# GUID) on a generated collection of 1,000 object files (1 to 10 objects each,
# filler sprite chunks between them) against reading the same files' bytes once
# with cat, and `--find` against `--conflicts`, which reads the same.
#
#   bench/inspect_vs_cat.sh BUILD_DIR [DIR] [ROUNDS]
#
# BUILD_DIR is a build with -DMARROWICK_BENCH=ON (preset "bench"). The
# collection is generated once into DIR, by default /tmp/marrowick-inspect-bench;
# it is never part of the repository. All commands run with a warm cache. Each
# of ROUNDS rounds (21 by default) runs the five commands once, in an order that
# turns from round to round, and the medians of the times and of each round's
# ratios to cat are printed. FIND sets the query (by default a GUID that one
# object of the collection has).
#
#   FIND="object 42" bench/inspect_vs_cat.sh build/bench   # a label instead
set -euo pipefail

build=${1:?usage: $0 BUILD_DIR [DIR] [ROUNDS]}
dir=${2:-/tmp/marrowick-inspect-bench}
rounds=${3:-21}
query=${FIND:-0x10000100}
inspect="$build/inspect/marrowick-inspect"

if [ ! -d "$dir" ]; then
    "$build/bench/make_collection" "$dir" 1000
fi

# --conflicts exits with 3 when GUIDs are shared, as they are here; --find with
# 1 when nothing is found.
commands=(
    "find $dir -type f -print0 | xargs -0 cat > /dev/null"
    "$inspect --json $dir > /dev/null"
    "$inspect $dir > /dev/null"
    "$inspect --conflicts $dir > /dev/null || test \$? = 3"
    "$inspect --find '$query' $dir > /dev/null 2>&1 || test \$? = 1"
)
n=${#commands[@]}

# Microseconds one command takes, by bash's own clock.
microseconds() {
    local start=${EPOCHREALTIME//[!0-9]/}
    eval "$1"
    echo $((${EPOCHREALTIME//[!0-9]/} - start))
}

for command in "${commands[@]}"; do eval "$command"; done  # warm the cache and the programs
times=$(mktemp)
trap 'rm -f "$times"' EXIT
for ((round = 0; round < rounds; ++round)); do
    line=()
    for ((k = 0; k < n; ++k)); do
        i=$(((k + round) % n))
        line[i]=$(microseconds "${commands[i]}")
    done
    echo "${line[*]}" >> "$times"
done

# The median over the rounds of an awk expression of each round's times in
# microseconds: $1 the read, $2 --json, $3 the table, $4 --conflicts, $5 --find.
median() {
    awk "{ print $1 }" "$times" | sort -g | awk '{ v[NR] = $1 }
        END { printf "%.2f", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
echo "$(find "$dir" -type f | wc -l) files, $(du -sb "$dir" | cut -f1) bytes, $rounds rounds; medians:"
echo "  cat:         $(median "\$1 / 1000") ms"
for k in 2 3 4 5; do
    name=$(echo "json table conflicts find" | cut -d' ' -f$((k - 1)))
    printf '  %-12s %s ms, %sx the read\n' "$name:" "$(median "\$$k / 1000")" "$(median "\$$k / \$1")"
done
echo "  find / conflicts: $(median "\$5 / \$4")x (query: $query)"
