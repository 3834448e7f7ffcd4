#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang and runs each for a bounded time:
#   fuzz/run.sh [SECONDS_EACH]
# A crash, a leak, a timeout or running out of memory fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
VW_FUZZ=1 scripts/setup.sh
seconds=${1:-60}
build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVW_FUZZ=ON \
    -DVW_BUILD_GUI=OFF -DVW_BUILD_TESTS=OFF -DVW_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target huffman_decode_fuzzer restore_fuzzer \
    private_code_fuzzer password_fuzzer

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for name in huffman_decode restore private_code password; do
    mkdir -p "$work/$name"
    cp fuzz/corpus/"$name"/* "$work/$name"/
    echo "== ${name}_fuzzer for ${seconds}s"
    set +e
    "$build/fuzz/${name}_fuzzer" "$work/$name" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -malloc_limit_mb=1024 -max_len=65536 -print_final_stats=1 \
        -artifact_prefix="$work/${name}-" >"$work/${name}.log" 2>&1
    status=$?
    set -e
    grep -E 'stat::number_of_executed_units|ERROR|SUMMARY' "$work/${name}.log" || true
    if ((status != 0)); then
        tail -n 60 "$work/${name}.log"
        echo "${name}_fuzzer failed (exit $status); failing inputs:"
        ls "$work"/"${name}"-* 2>/dev/null || true
        exit 1
    fi
done
echo "fuzzing: no failures"
