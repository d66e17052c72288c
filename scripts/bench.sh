#!/usr/bin/env bash
# `make bench`: runs the benchmarks in a test environment of their own, prints the table and
# writes the figures to <build>/bench.json (the printout is also kept in <build>/logs/bench.log).
# BENCH_QUICK=1 runs a short version, for trying the script itself.
set -euo pipefail
build=${1:-build}
mkdir -p "$build/logs"
build=$(cd "$build" && pwd)
echo "benchmark output: $build/logs/bench.log and $build/bench.json"
quick=()
if [[ -n "${BENCH_QUICK:-}" ]]; then
    quick=(--quick)
fi
VELTRANO_EXE="$build/win64/src/veltrano.exe" \
    VELTRANO_PROGRAM_X64="$build/win64-product/src/veltrano.exe" \
    VELTRANO_PROGRAM_X86="$build/win32/src/veltrano.exe" \
    VELTRANO_SETTINGS_TOOL="$build/win64/tests/e2e/veltrano-settings" \
    bash scripts/testenv.sh "$build/testenv-bench" \
    python3 tests/bench/bench.py "$build/win64/tests/bench/veltrano_bench.exe" \
    "$build/bench.json" "${quick[@]}" 2>&1 |
    grep -vE '^ALSA|^\[testenv' | tee "$build/logs/bench.log"
