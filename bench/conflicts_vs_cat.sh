#!/bin/sh
# Times `marrowick-inspect --conflicts` on a generated collection of 10,000
# object files against reading the same files' bytes once with cat.
#
#   bench/conflicts_vs_cat.sh BUILD_DIR [COLLECTION_DIR]
#
# BUILD_DIR is a build with -DMARROWICK_BENCH=ON (preset "bench"). The
# collection (about 2 GB) is generated once into COLLECTION_DIR, by default
# /tmp/marrowick-collection; it is never part of the repository. Both commands
# run with a warm cache. Uses hyperfine when it is installed, else time.
set -eu

build=${1:?usage: $0 BUILD_DIR [COLLECTION_DIR]}
collection=${2:-/tmp/marrowick-collection}
inspect="$build/inspect/marrowick-inspect"

if [ ! -d "$collection" ]; then
    "$build/bench/make_collection" "$collection"
fi

tool="$inspect --conflicts $collection > /dev/null"
floor="find $collection -type f -print0 | xargs -0 cat > /dev/null"

if command -v hyperfine > /dev/null; then
    # --conflicts exits with 3 when GUIDs are shared, as they are here.
    hyperfine --warmup 1 --runs 5 --ignore-failure "$tool" "$floor"
else
    sh -c "$floor"  # warm the cache
    for command in "$tool" "$floor"; do
        echo "$command"
        /usr/bin/time -f '%e s' sh -c "$command" || true
    done
fi
