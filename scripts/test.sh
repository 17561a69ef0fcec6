#!/usr/bin/env bash
# Builds everything under AddressSanitizer and UndefinedBehaviorSanitizer, warnings as
# errors, and runs the whole test suite headless.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
# Conventions that the compiler does not check: the format and the layering.
./scripts/check-format.sh
./scripts/check-layers.sh
build=${RXM_TEST_BUILD_DIR:-build-test}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DRXM_SANITIZE=ON -DRXM_WERROR=ON \
  -DRXM_TESTS=ON >/dev/null
cmake --build "$build" -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen RXM5620_SYSTEM_PORTS=0
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" "$@"
# A short, repeatable run of every fuzz target.
RXM_FUZZ_BUILD_DIR=${RXM_FUZZ_BUILD_DIR:-build-fuzz} ./scripts/fuzz.sh smoke
# The Debian package: its file list and control data.
./scripts/package.sh --check
