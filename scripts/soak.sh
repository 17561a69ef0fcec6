#!/usr/bin/env bash
# Runs the whole application for a long time (default an hour) against the simulated
# instrument with link faults, continuous sampling and a trend recording, and reports the
# resident memory every minute and at the start and the end: ./scripts/soak.sh [SECONDS].
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
build=${RXM_BENCH_BUILD_DIR:-build-bench}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRXM_TESTS=OFF -DRXM_BENCH=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target rxm5620-soak rxm5620-sim rxm_data
exec "$build/bin/rxm5620-soak" "${1:-3600}"
