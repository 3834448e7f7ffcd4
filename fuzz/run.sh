#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vaultwise developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer harnesses with clang and runs each for a bounded time, as many at once as
# there are processors (VW_FUZZ_JOBS overrides), so each harness gets a whole processor:
#   fuzz/run.sh [SECONDS_EACH]
# A crash, a leak, a timeout or running out of memory fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
VW_FUZZ=1 scripts/setup.sh
seconds=${1:-60}
parallel=${VW_FUZZ_JOBS:-$(nproc)}
build=build-fuzz
harnesses=(huffman_decode restore private_code password)
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVW_FUZZ=ON \
    -DVW_WERROR=OFF -DVW_BUILD_GUI=OFF -DVW_BUILD_CLI=OFF -DVW_BUILD_TESTS=OFF \
    -DVW_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${harnesses[@]/%/_fuzzer}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Runs one harness on a copy of its corpus; its log and exit status go to $work.
fuzz_one() {
    local name=$1
    mkdir -p "$work/$name"
    cp fuzz/corpus/"$name"/* "$work/$name"/
    local status=0
    "$build/fuzz/${name}_fuzzer" "$work/$name" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -malloc_limit_mb=1024 -max_len=65536 -print_final_stats=1 \
        -artifact_prefix="$work/${name}-" >"$work/${name}.log" 2>&1 || status=$?
    echo "$status" >"$work/${name}.status"
}

echo "== ${#harnesses[@]} fuzzers for ${seconds}s each, $parallel at a time"
for name in "${harnesses[@]}"; do
    while (($(jobs -rp | wc -l) >= parallel)); do wait -n || true; done
    fuzz_one "$name" &
done
wait

failed=0
for name in "${harnesses[@]}"; do
    status=$(cat "$work/${name}.status")
    echo "== ${name}_fuzzer"
    grep -E 'stat::number_of_executed_units|ERROR|SUMMARY' "$work/${name}.log" || true
    if ((status != 0)); then
        tail -n 60 "$work/${name}.log"
        echo "${name}_fuzzer failed (exit $status); failing inputs:"
        ls "$work"/"${name}"-* 2>/dev/null || true
        failed=1
    fi
done
((failed == 0)) || exit 1
echo "fuzzing: no failures"
