#!/usr/bin/env bash
# Builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
build=${RXM_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRXM_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
exec "$build/bin/rxm5620" "$@"
