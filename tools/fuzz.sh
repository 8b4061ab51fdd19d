#!/usr/bin/env bash
# Runs each fuzz target of BUILD_DIR for SECONDS from its seed corpus in tests/fuzz/corpus/.
# What a target finds stays in BUILD_DIR (found/ for new inputs, crash-* for failures), with
# its log; on a failure the log's end is printed and the run stops.
#   tools/fuzz.sh BUILD_DIR SECONDS
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 BUILD_DIR SECONDS" >&2 && exit 2; }
build=$1 seconds=$2
for target in image:bmp obj:obj; do
    name=${target%:*} kind=${target#*:}
    mkdir -p "$build/found/$kind"
    echo "fuzzing $name for $seconds s"
    if ! "$build/tests/fuzz/${name}_fuzz" -max_total_time="$seconds" -artifact_prefix="$build/" \
        "$build/found/$kind" "tests/fuzz/corpus/$kind" 2>"$build/$name.log"; then
        tail -n 40 "$build/$name.log" && exit 1
    fi
    tail -n 1 "$build/$name.log"
done
echo "fuzz: 2 passed, 0 failed"
