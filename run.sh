#!/usr/bin/env bash
# Installs what is missing, builds in Release and starts the game. On a machine without a
# display it plays the demo for ten seconds on a virtual one and saves a screenshot.
set -euo pipefail
cd "$(dirname "$0")"
top=$(pwd)
. scripts/deps.sh
fizmo_install_missing $FIZMO_RUN_PACKAGES
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DFIZMO_BENCH=OFF >/dev/null
cmake --build build-release --target fizmo -j"$(nproc)"
fizmo="$top/build-release/app/fizmo"

# The game reads "Mondai.dat" from the current folder: start it beside the sample.
cd res
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$fizmo" "$@"
fi

echo "No display found: playing the demo for ${FIZMO_DEMO_SECONDS:-10} seconds on a virtual display (Xvfb)."
fizmo_install_missing xvfb imagemagick
"$top/scripts/headless_demo.sh" "$fizmo" "$top/fizmo-demo.png"
echo "Screenshot of the demo: $top/fizmo-demo.png"
