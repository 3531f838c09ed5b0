#!/bin/sh
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each, one after the other at low
# priority, for a while on its corpus.
# Usage: tests/fuzz/run_fuzzers.sh [seconds per target, default 60] [target...]
#        tests/fuzz/run_fuzzers.sh --build-only    (CI: the targets must keep building with clang)
# Without target names every target of tests/fuzz/CMakeLists.txt runs. New interesting inputs go to
# build-fuzz/corpus/<target>/ (the committed seeds stay as they are); a crash leaves crash-* in
# build-fuzz/ and stops the script with a failure.
set -eu
build_only=0
if [ "${1:-}" = "--build-only" ]; then
    build_only=1
    shift
fi
seconds=${1:-60}
[ $# -gt 0 ] && shift
root=$(cd "$(dirname "$0")/../.." && pwd)
build="$root/build-fuzz"
all=$(sed -n 's/^kestro_fuzz_\(target\|entry\)(\([a-z_]*\) .*/\2/p' "$root/tests/fuzz/CMakeLists.txt" | tr '\n' ' ')
targets=${*:-$all}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKESTRO_BENCH=OFF \
    -DKESTRO_FUZZ=ON -DKESTRO_SANITIZE=ON -DKESTRO_WERROR=ON >/dev/null
# shellcheck disable=SC2086
ninja -C "$build" $targets
[ "$build_only" = 1 ] && exit 0

for target in $targets; do
    work="$build/corpus/$target"
    mkdir -p "$work"
    echo "== $target: $seconds s"
    (cd "$build" && nice -n 19 "./tests/fuzz/$target" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 "$work" "$root/tests/fuzz/corpus/$target" 2>&1) \
        | grep -E "^(#[0-9]+ *DONE|stat::number_of_executed_units|stat::peak_rss|==|SUMMARY|Done)|ERROR|crash-|Test unit written" || true
    if ls "$build"/crash-* "$build"/timeout-* "$build"/leak-* >/dev/null 2>&1; then
        echo "$target: failing inputs left in $build" >&2
        exit 1
    fi
done
