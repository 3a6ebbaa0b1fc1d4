#!/usr/bin/env bash
# Builds the Debian package build/talvex_<version>_amd64.deb (CPack, with the
# dependencies dpkg-shlibdeps computes), in the build folder the other scripts
# use: only the host, its libraries and the manual page are built for it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-deps.sh package
[ -f build/CMakeCache.txt ] || cmake -S . -B build -G Ninja -DBUILD_TESTING=OFF >/dev/null
cmake --build build --target talvex-host talvex-docs
rm -f build/talvex_*.deb
(cd build && cpack -G DEB >/dev/null)
ls build/talvex_*_amd64.deb
