#!/usr/bin/env bash
# Builds the Debian package of Corvane into build-package/: the two programs,
# their installed files, the menu entry and icon, the AppStream description,
# the media type of packages (.ipc) and the manual pages. Its dependencies are
# the libraries dpkg-shlibdeps finds, and the font the screens are drawn in.
#   scripts/package.sh && sudo apt install ./build-package/corvane_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DCORVANE_BUILD_TESTS=OFF -DCORVANE_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-package
(cd build-package && cpack -G DEB >/dev/null)
ls build-package/corvane_*.deb
