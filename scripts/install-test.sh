#!/usr/bin/env bash
# Installs the package on this machine (apt-get install ./rxm5620_*.deb) and starts the
# installed program offscreen against the installed simulated instrument, in a fresh home
# folder: the settings must appear in ~/.config/rxm5620, the program must connect and
# save its screenshot, and the installed batch tool must take a reading. Changes the
# system; not part of the test command.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/package.sh
deb=$(ls "${RXM_PACKAGE_BUILD_DIR:-build-package}"/rxm5620_*.deb)
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "./$deb" >/dev/null
home=$(mktemp -d)
trap 'kill "$sim" 2>/dev/null || true; rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_RUNTIME_DIR=$home/run
unset RXM5620_CONFIG_DIR RXM5620_PORT_DIR
mkdir -p "$XDG_RUNTIME_DIR/rxm5620/ports"
/usr/bin/rxm5620-sim --link "$XDG_RUNTIME_DIR/rxm5620/ports/COM2" --baud auto >/dev/null 2>&1 &
sim=$!
for _ in $(seq 50); do [ -e "$XDG_RUNTIME_DIR/rxm5620/ports/COM2" ] && break; sleep 0.1; done
shot=$home/installed.png
QT_QPA_PLATFORM=offscreen RXM5620_SYSTEM_PORTS=0 RXM5620_DEMO_SCREENSHOT=$shot \
  RXM5620_DEMO_SECONDS=8 /usr/bin/rxm5620 2>"$home/stderr.txt"
test -s "$shot" || { echo "install test: no screenshot" >&2; exit 1; }
test -f "$XDG_CONFIG_HOME/rxm5620/SysSet.ini" || { echo "install test: no settings in ~/.config/rxm5620" >&2; exit 1; }
test ! -e /usr/bin/SysSet.ini || { echo "install test: settings written beside /usr/bin/rxm5620" >&2; exit 1; }
if grep -q "Did not find the default communication port" "$home/stderr.txt"; then
  echo "install test: the installed program did not find the simulator" >&2
  exit 1
fi
RXM5620_SYSTEM_PORTS=0 /usr/bin/rxm5620-cli read --port COM2 --baud 115200 --out "$home/r.qvm" ||
  { echo "install test: the installed batch tool took no reading" >&2; exit 1; }
test "$(stat -c %s "$home/r.qvm")" -eq 8386 || { echo "install test: the reading file is not 8386 bytes" >&2; exit 1; }
cp "$shot" "${RXM5620_SCREENSHOT:-/tmp/rxm5620-installed.png}"
echo "install test: the installed program started, connected and kept its settings in ~/.config/rxm5620; the batch tool took a reading"
