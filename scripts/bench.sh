#!/usr/bin/env bash
# Runs the benchmarks under Wine and prints their figures (also kept in <build>/logs/bench.log).
set -euo pipefail
build=${1:-build}
mkdir -p "$build/logs"
echo "benchmark output: $build/logs/bench.log"
bash scripts/testenv.sh "$build/testenv" wine "$build/win64/tests/bench/veltrano_bench.exe" 2>&1 |
    grep -vE '^ALSA|^\[testenv' | tee "$build/logs/bench.log"
