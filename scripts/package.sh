#!/usr/bin/env bash
# Builds the two Debian packages from this clone: caldrencalc-batch (the program for batch
# runs, the engine, DEMO.CLD, the manual page; no Qt) and caldrencalc (the windows, the
# guide, the desktop entry). Set-up first (the Debian packages the build needs, as the
# other scripts), then a build without tests and benchmarks in a folder of its own, with
# Debian's hardening flags, then CPack (cmake/Package.cmake). The packages land in
# <build>/packages, or in PACKAGE_DIR:
#
#   bash scripts/package.sh
#   apt install ./build-package/packages/caldrencalc*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh
build=${BUILD_DIR:-build-package}
out=${PACKAGE_DIR:-$build/packages}
# The changelog's and the software-centre entry's release date: the last commit's, so that
# the same commit gives the same packages.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || date +%s)}
export SOURCE_DATE_EPOCH
# Debian's hardening (stack protector, fortified functions, read-only relocations, bind now).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
CFLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CFLAGS)"
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
export CXXFLAGS CFLAGS LDFLAGS
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
  -DCALDREN_BUILD_BENCH=OFF -DCALDREN_BUILD_GUI=ON "$@"
cmake --build "$build" -j"$(nproc)"
rm -f "$out"/caldrencalc*.deb
cpack --config "$build/CPackConfig.cmake" -B "$out"
rm -rf "$out/_CPack_Packages"
ls -l "$out"/caldrencalc*.deb
