#!/usr/bin/env bash
# Builds the program and starts it, by default against the simulated instrument on COM2.
#   ./scripts/run.sh                 the application and the simulator
#   RXM5620_NO_SIM=1 ./scripts/run.sh   the application alone (a real instrument)
#   RXM5620_SCENARIO=nonlinear ./scripts/run.sh   another simulated system
# Without a display (no DISPLAY or WAYLAND_DISPLAY) it runs a short demonstration under
# Xvfb and saves a screenshot of the main window showing live readings.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
build=${RXM_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRXM_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
bin="$(cd "$build/bin" && pwd)"

sim_pid=""
cleanup() { [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null; true; }
trap cleanup EXIT INT TERM

if [ "${RXM5620_NO_SIM:-0}" != "1" ]; then
  # The program finds its ports in the folder "ports" next to it; the simulator presents
  # itself there as COM2, the port and 14.4 kbit/s speed a fresh installation expects.
  export RXM5620_PORT_DIR="${RXM5620_PORT_DIR:-$bin/ports}"
  mkdir -p "$RXM5620_PORT_DIR"
  "$bin/rxm5620-sim" --link "$RXM5620_PORT_DIR/COM2" --baud auto \
    --scenario "${RXM5620_SCENARIO:-balanced}" &
  sim_pid=$!
  for _ in $(seq 50); do [ -e "$RXM5620_PORT_DIR/COM2" ] && break; sleep 0.1; done
  echo "Simulated instrument on $RXM5620_PORT_DIR/COM2"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  shot="${RXM5620_SCREENSHOT:-$PWD/rxm5620-demo.png}"
  echo "No display found (DISPLAY and WAYLAND_DISPLAY are unset): running a short"
  echo "demonstration under Xvfb with continuous sampling, then saving a screenshot."
  RXM5620_DEMO_SCREENSHOT="$shot" RXM5620_DEMO_SECONDS="${RXM5620_DEMO_SECONDS:-20}" \
    xvfb-run -a -s "-screen 0 1280x1024x24" "$bin/rxm5620" "$@"
  echo "Screenshot of the main window: $shot"
else
  "$bin/rxm5620" "$@"
fi
