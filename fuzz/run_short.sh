#!/bin/sh
# Builds the fuzz targets with the 'fuzz' preset and runs each for a short while
# (45 seconds by default: three minutes for the four) from its corpus. Exits
# non-zero on any finding: a crash, a leak, a timeout, running out of memory,
# or a broken rule.
#
#   fuzz/run_short.sh [SECONDS]
#
# Environment: MARROWICK_FUZZ_BUILD (build folder, default build/fuzz),
# MARROWICK_FUZZ_OUT (where new inputs and findings go, default a temp folder).
set -eu

seconds=${1:-45}
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${MARROWICK_FUZZ_BUILD:-$source_dir/build/fuzz}
out_dir=${MARROWICK_FUZZ_OUT:-$(mktemp -d "${TMPDIR:-/tmp}/marrowick-fuzz.XXXXXX")}

# The fuzz targets need nothing from the test suite.
cmake --preset fuzz -S "$source_dir" -B "$build_dir" -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build_dir" --target fuzz_scan fuzz_decode fuzz_thumbnail fuzz_archive

status=0
for target in scan decode thumbnail archive; do
    # New inputs go to a scratch folder first so the corpus in the repository
    # only changes by hand.
    mkdir -p "$out_dir/$target" "$out_dir/findings"
    echo "== fuzz_$target for $seconds s"
    if ! "$build_dir/fuzz/fuzz_$target" -max_total_time="$seconds" -rss_limit_mb=2048 \
        -timeout=10 -max_len=65536 -print_final_stats=1 \
        -artifact_prefix="$out_dir/findings/$target-" \
        "$out_dir/$target" "$source_dir/fuzz/corpus/$target" >"$out_dir/$target.log" 2>&1; then
        status=1
        echo "fuzz_$target found a problem; the input is in $out_dir/findings:"
        grep -E "ERROR|broken rule|SUMMARY|Test unit written" "$out_dir/$target.log" || tail -n 40 "$out_dir/$target.log"
    fi
    grep -E "^#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units" "$out_dir/$target.log" || true
done
exit $status
