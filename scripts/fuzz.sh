#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each for a bounded time: ./scripts/fuzz.sh [SECONDS per target, default 10]
# [TARGET ...]. The corpus grows in build-fuzz/corpus/<target>, seeded from fuzz/corpus;
# a finding stops its target, leaves its input in build-fuzz/findings and fails the script.
# ./scripts/fuzz.sh smoke runs a fixed number of inputs from a fixed seed instead (the
# test command's short run, the same every time).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
seconds=${1:-10}
shift || true
if [ "$seconds" = smoke ]; then
  limit=(-seed=1 -runs=4000)
else
  limit=(-max_total_time="$seconds")
fi
build=${RXM_FUZZ_BUILD_DIR:-build-fuzz}
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DRXM_FUZZ=ON -DRXM_TESTS=OFF >/dev/null
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(Dispatcher MeasurementFile RecordFile IniFile FrameParser)
cmake --build "$build" -j"$(nproc)" --target "${targets[@]/#/fuzz_}"
export QT_QPA_PLATFORM=offscreen RXM5620_SYSTEM_PORTS=0
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
mkdir -p "$build/findings"
status=0
for target in "${targets[@]}"; do
  # FrameParser -> frame_parser
  seeds=fuzz/corpus/$(echo "$target" | sed -E 's/([a-z])([A-Z])/\1_\2/g' | tr 'A-Z' 'a-z')
  corpus=$build/corpus/$target
  mkdir -p "$corpus"
  echo "== fuzz_$target (${limit[*]})"
  if ! "$build/bin/fuzz_$target" "$corpus" "$seeds" "${limit[@]}" -timeout=20 \
      -max_len=70000 -rss_limit_mb=4096 -print_final_stats=1 \
      -artifact_prefix="$build/findings/$target-" 2>"$build/fuzz_$target.log"; then
    echo "fuzz_$target found a fault; see $build/fuzz_$target.log and $build/findings" >&2
    tail -40 "$build/fuzz_$target.log" >&2
    status=1
  fi
  grep -E "stat::number_of_executed_units|stat::new_units_added" "$build/fuzz_$target.log" || true
done
exit $status
