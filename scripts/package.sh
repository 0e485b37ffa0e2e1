#!/usr/bin/env bash
# Builds the Debian package build-package/mehrfachspalt_VERSION_amd64.deb
# with CPack from the install rules of CMakeLists.txt, and checks it with
# lintian. Installs what is missing: dpkg-dev (dpkg-shlibdeps works out the
# Depends line, dpkg-buildflags the hardening flags), file (with which
# CPack finds the programs to examine), librsvg2-bin (renders the PNG icons
# from the SVG) and lintian. Then: apt install ./build-package/mehrfachspalt_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh dpkg-dev file librsvg2-bin lintian

# Debian's hardening flags, as a package built by Debian would have them.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CFLAGS="$(dpkg-buildflags --get CFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
export CFLAGS CXXFLAGS LDFLAGS

rm -f build-package/mehrfachspalt_*.deb
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
  -DBUILD_BENCHMARKS=OFF -DREQUIRE_PNG_ICONS=ON >/dev/null
cmake --build build-package -j"$(nproc)" >build-package/build.log 2>&1 ||
  { tail -n 40 build-package/build.log; exit 1; }
(cd build-package && cpack -G DEB >/dev/null)
deb=$(ls build-package/mehrfachspalt_*_amd64.deb)

# Errors fail; what lintian still reports is listed in CONTRIBUTING.md's package section.
lintian --fail-on error --tag-display-limit 0 "$deb"
echo "$deb: $(stat -c %s "$deb") bytes"
dpkg-deb --field "$deb" Depends
