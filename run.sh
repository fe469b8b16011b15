#!/usr/bin/env bash
# Installs what is missing, builds in Release and starts the game.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
fizmo_install_missing $FIZMO_RUN_PACKAGES
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DFIZMO_BENCH=OFF >/dev/null
cmake --build build-release --target fizmo -j"$(nproc)"
# The game reads "Mondai.dat" from the current folder: start it beside the sample.
cd res
exec ../build-release/app/fizmo "$@"
