#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vaultwise developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer harnesses with clang and runs each for a bounded time, as many at once as
# there are processors (VW_FUZZ_JOBS overrides), so each harness gets a whole processor:
#   fuzz/run.sh [SECONDS_EACH [HARNESS...]]          CI: 60 seconds each by default
#   fuzz/run.sh --long [SECONDS_EACH [HARNESS...]]   before a release: an hour each by default,
#       then the inputs that reach code the corpus does not are merged into
#       fuzz/corpus/<harness>/ (commit them)
# Each harness starts from a copy of its corpus in fuzz/corpus/<harness>/, with the dictionary
# fuzz/<harness>.dict when there is one. Inputs that take long get less of the fuzzer's time
# (-entropic_scale_per_exec_time). A crash, a leak, a timeout or running out of memory
# fails the run; the inputs that failed are kept in build-fuzz/failures/<harness>/ (emptied when
# the harness next runs) and their paths printed, with the command that runs one again. The
# logs are in build-fuzz/logs/. At the end each harness's inputs a second and the edges it
# covered (libFuzzer's cov; ft counts finer features) are printed.
set -euo pipefail
cd "$(dirname "$0")/.."

long=0
if [[ "${1:-}" == --long ]]; then
    long=1
    shift
fi
seconds=${1:-$((long ? 3600 : 60))}
shift || true
parallel=${VW_FUZZ_JOBS:-$(nproc)}
build=build-fuzz
harnesses=(huffman_decode restore protect_restore private_code password)
(($# == 0)) || harnesses=("$@")

VW_FUZZ=1 scripts/setup.sh
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVW_FUZZ=ON \
    -DVW_WERROR=OFF -DVW_BUILD_GUI=OFF -DVW_BUILD_CLI=OFF -DVW_BUILD_TESTS=OFF \
    -DVW_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${harnesses[@]/%/_fuzzer}"

# Runs one harness on a copy of its corpus; its log, exit status and running time go to logs/.
fuzz_one() {
    local name=$1 work="$build/work/$1" failures="$build/failures/$1" log="$build/logs/$1"
    rm -rf "$work" "$failures"
    mkdir -p "$work" "$failures" "$build/logs"
    cp fuzz/corpus/"$name"/* "$work"/
    local options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048
        -malloc_limit_mb=1024 -max_len=65536 -entropic_scale_per_exec_time=1
        -print_final_stats=1 -artifact_prefix="$failures/")
    [[ -f fuzz/"$name".dict ]] && options+=(-dict=fuzz/"$name".dict)
    local status=0 start=$SECONDS
    "$build/fuzz/${name}_fuzzer" "$work" "${options[@]}" >"$log.log" 2>&1 || status=$?
    echo $((SECONDS - start)) >"$log.seconds"
    echo "$status" >"$log.status"
}

# Adds to the harness's corpus the inputs of its run that reach coverage the corpus lacks.
merge_one() {
    local name=$1 before after
    before=$(find fuzz/corpus/"$name" -type f | wc -l)
    "$build/fuzz/${name}_fuzzer" -merge=1 -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
        fuzz/corpus/"$name" "$build/work/$name" >"$build/logs/$name-merge.log" 2>&1
    after=$(find fuzz/corpus/"$name" -type f | wc -l)
    echo "== ${name}: $((after - before)) inputs merged into fuzz/corpus/$name" \
        "($after inputs, $(du -sk fuzz/corpus/"$name" | cut -f1) KiB)"
}

echo "== ${#harnesses[@]} fuzzers for ${seconds}s each, $parallel at a time"
for name in "${harnesses[@]}"; do
    while (($(jobs -rp | wc -l) >= parallel)); do wait -n || true; done
    fuzz_one "$name" &
done
wait

failed=0
summary=()
for name in "${harnesses[@]}"; do
    log="$build/logs/$name"
    status=$(cat "$log.status")
    echo "== ${name}_fuzzer"
    grep -E 'ERROR|SUMMARY' "$log.log" || true
    if ((status != 0)); then
        tail -n 60 "$log.log"
        echo "${name}_fuzzer failed (exit $status); failing inputs, each run again by" \
            "$build/fuzz/${name}_fuzzer FILE:"
        find "$build/failures/$name" -type f | sed 's/^/  /'
        failed=1
    fi
    # The last status line holds the coverage: "#N DONE cov: E ft: F corp: ... exec/s: R".
    status_line=$(grep -E '^#[0-9]+' "$log.log" | grep 'cov:' | tail -n 1 || true)
    units=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log.log")
    elapsed=$(cat "$log.seconds")
    summary+=("$(printf '%-16s %10s inputs %7s /s  cov %5s  ft %6s' "$name" "${units:-?}" \
        "$(((${units:-0}) / (elapsed > 0 ? elapsed : 1)))" \
        "$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$status_line")" \
        "$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$status_line")")")
done
echo "== inputs a second (executed / seconds run) and edges covered"
printf '%s\n' "${summary[@]}"
((failed == 0)) || exit 1
echo "fuzzing: no failures"

if ((long)); then
    for name in "${harnesses[@]}"; do merge_one "$name"; done
fi
