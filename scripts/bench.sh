#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
build=${RXM_BENCH_BUILD_DIR:-build-bench}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRXM_TESTS=OFF -DRXM_BENCH=ON >/dev/null
cmake --build "$build" -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen RXM5620_SYSTEM_PORTS=0
for b in "$build"/bin/bench_*; do echo "== $(basename "$b")"; "$b" "$@"; done
