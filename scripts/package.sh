#!/usr/bin/env bash
# Builds the Debian package rxm5620_<version>_<arch>.deb (Release, CMake's CPack) into
# build-package/, and with --check verifies its file list and control data.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
build=${RXM_PACKAGE_BUILD_DIR:-build-package}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRXM_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
(cd "$build" && rm -f rxm5620_*.deb && cpack -G DEB >/dev/null)
deb=$(ls "$build"/rxm5620_*.deb)
echo "Package: $deb"
[ "${1:-}" = --check ] || exit 0

files=$(dpkg-deb -c "$deb" | awk '{print $NF}')
control=$(dpkg-deb -I "$deb")
status=0
for f in ./usr/bin/rxm5620 ./usr/bin/rxm5620-sim ./usr/bin/rxm5620-cli \
    ./usr/share/rxm5620/Handbook.pdf ./usr/share/rxm5620/PenData/green.dat \
    ./usr/share/rxm5620/PenData/12.dat ./usr/share/rxm5620/SkinsFile/02.ats \
    "./usr/share/rxm5620/PenData/Pic/3P3W(3V3A).jpg" \
    ./usr/share/applications/rxm5620.desktop ./usr/share/mime/packages/rxm5620.xml \
    ./usr/share/icons/hicolor/scalable/apps/rxm5620.svg \
    ./usr/share/icons/hicolor/256x256/apps/rxm5620.png \
    ./usr/lib/udev/rules.d/60-rxm5620.rules; do
  grep -qxF "$f" <<<"$files" || { echo "package check: $f is missing" >&2; status=1; }
done
if grep -qE '(test_|bench_|fuzz_|rxm5620-make-data|\.a$|SysSet\.ini)' <<<"$files"; then
  echo "package check: it holds files of the build only" >&2
  status=1
fi
for field in "Package: rxm5620" "Architecture: $(dpkg --print-architecture)" "Section: science" \
    "Depends:.*libqt6widgets6" "Depends:.*libxlsxwriter"; do
  grep -qE "^ *$field" <<<"$control" || { echo "package check: no \"$field\" in the control data" >&2; status=1; }
done
[ $status = 0 ] && echo "package check: the file list and the control data are as expected"
exit $status
