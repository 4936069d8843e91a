#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan + UBSan) in build-fuzz/ and runs
# each for SECONDS (default 60), at the lowest priority. Fails on any crash,
# leak, undefined behaviour, broken invariant or hang (a single input
# running over 10 s).
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]     default: every fuzz/fuzz_*.cpp
#
# Corpora grow in build-fuzz/corpus/<target> (seeded from fuzz/corpus/<target>,
# with the tokens of fuzz/<target>.dict where there is one),
# findings land in build-fuzz/artifacts/<target>/, logs in build-fuzz/logs/.
# Per target one line: runs (execs), coverage (cov, ft), corpus size, status.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -lt 1 ]; then
    echo "usage: $0 [SECONDS] [TARGET...]" >&2
    exit 2
fi
shift || true

build_dir=build-fuzz
bash scripts/install-deps.sh
CC=clang CXX=clang++ cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTXDB_FUZZ=ON -DTXDB_BENCH=OFF >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for src in fuzz/fuzz_*.cpp; do
        targets+=("$(basename "$src" .cpp)")
    done
fi
cmake --build "$build_dir" --target "${targets[@]}" -j2

export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
mkdir -p "$build_dir/logs"
failed=0
for target in "${targets[@]}"; do
    corpus=$build_dir/corpus/$target
    artifacts=$build_dir/artifacts/$target/
    log=$build_dir/logs/$target.log
    mkdir -p "$corpus" "$artifacts"
    seeds=()
    [ -d "fuzz/corpus/$target" ] && seeds=("fuzz/corpus/$target")
    dictionary=()
    [ -f "fuzz/$target.dict" ] && dictionary=(-dict="fuzz/$target.dict")
    status=0
    nice -n 19 "$build_dir/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        "${dictionary[@]}" -artifact_prefix="$artifacts" "$corpus" "${seeds[@]}" >"$log" 2>&1 || status=$?
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)
    cov=$(grep -E '^#[0-9]+' "$log" | grep -o 'cov: [0-9]*' | tail -n 1 | grep -o '[0-9]*' || echo 0)
    ft=$(grep -E '^#[0-9]+' "$log" | grep -o 'ft: [0-9]*' | tail -n 1 | grep -o '[0-9]*' || echo 0)
    found=$(find "$artifacts" -type f | wc -l)
    if [ "$status" -ne 0 ] || [ "$found" -ne 0 ]; then
        result="FAILED (exit $status, $found finding(s) in $artifacts; see $log)"
        failed=$((failed + 1))
    else
        result=ok
    fi
    printf '%-22s runs %10s  cov %5s  ft %6s  corpus %5s  %s\n' "$target" "$runs" "$cov" "$ft" \
        "$(find "$corpus" -type f | wc -l)" "$result"
done
if [ "$failed" -ne 0 ]; then
    echo "fuzz: $failed of ${#targets[@]} targets failed" >&2
    exit 1
fi
echo "fuzz: ${#targets[@]} targets ran ${seconds} s each without a finding"
