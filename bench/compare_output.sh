#!/bin/sh
# Compares the page engine of two builds on this machine in one run: their bench_output
# programs (and the corvane beside each) alternately, three times each, so load from other
# work falls on both alike. To compare an older engine, build this bench_output.cpp against it
# (an older bench_output ignores the options and does not time the render command).
# Usage: bench/compare_output.sh OLD_BUILD_DIR NEW_BUILD_DIR [bench_output options]
set -eu
if [ $# -lt 2 ]; then
    echo "usage: $0 OLD_BUILD_DIR NEW_BUILD_DIR [bench_output options]" >&2
    exit 2
fi
old=$1
new=$2
shift 2
export QT_QPA_PLATFORM=offscreen
for run in 1 2 3; do
    for build in "$old" "$new"; do
        echo "== run $run: $build"
        "$build/bench/bench_output" --program "$build/corvane" "$@" | grep -v '^output: goals'
    done
done
