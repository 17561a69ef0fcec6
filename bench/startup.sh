#!/usr/bin/env bash
# The program's start: the median over 20 starts of the time from exec to the first window
# (the splash) painted, and to the main window ready (every window made, the port scan
# done), offscreen and under Xvfb, from the Release build: bench/startup.sh [STARTS].
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
build=${RXM_BENCH_BUILD_DIR:-build-bench}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRXM_TESTS=OFF -DRXM_BENCH=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target rxm5620 rxm_data >/dev/null
starts=${1:-20}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export RXM5620_CONFIG_DIR=$work RXM5620_PORT_DIR=$work RXM5620_SYSTEM_PORTS=0 RXM5620_STARTUP_TRACE=1

median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }

measure() {  # $1: label, then the command that starts the program
  local label=$1
  shift
  : >"$work/splash" && : >"$work/ready"
  for _ in $(seq "$starts"); do
    # Until the main window is ready; the splash's mark comes on the way.
    "$@" "$build/bin/rxm5620" 2>"$work/trace" >/dev/null || true
    awk '$3 == "splash" && $4 == "shown" {print $2}' "$work/trace" >>"$work/splash"
    awk '$3 == "windows" && $4 == "made" {print $2}' "$work/trace" >>"$work/ready"
  done
  printf '%-9s first window %7.1f ms   main window ready %7.1f ms   (median of %d)\n' "$label" \
    "$(median <"$work/splash")" "$(median <"$work/ready")" "$starts"
}

# The program ends itself once its windows exist (RXM5620_STARTUP_EXIT=ready).
export RXM5620_STARTUP_EXIT=ready
measure offscreen env QT_QPA_PLATFORM=offscreen
measure Xvfb xvfb-run -a -s "-screen 0 1280x1024x24"
