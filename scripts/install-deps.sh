#!/usr/bin/env bash
# Installs the Debian packages needed to build, test and run the program.
# Quick when everything is already there: only missing packages are fetched.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libpng-dev libjpeg-dev libxlsxwriter-dev zlib1g-dev python3-openpyxl
  xvfb xauth x11-apps imagemagick poppler-utils
  fonts-liberation fonts-dejavu-core fonts-noto-cjk fonts-wqy-zenhei
  clang-format clang libclang-rt-14-dev dpkg-dev file
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
