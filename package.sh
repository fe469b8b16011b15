#!/usr/bin/env bash
# Installs what is missing, builds in Release and makes the Debian package
# fizmo_<version>_<arch>.deb in the checkout: install it with `sudo apt install ./fizmo_*.deb`.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
fizmo_install_missing $FIZMO_RUN_PACKAGES $FIZMO_PACKAGE_PACKAGES
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DFIZMO_TESTS=OFF -DFIZMO_BENCH=OFF >/dev/null
cmake --build build-package -j"$(nproc)"
rm -f build-package/fizmo_*.deb
(cd build-package && cpack -G DEB >/dev/null)
mv build-package/fizmo_*.deb .
ls fizmo_*.deb
