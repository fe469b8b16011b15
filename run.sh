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

echo "No display found: running the demo for 10 seconds on a virtual display (Xvfb)."
fizmo_install_missing xvfb imagemagick
display=99
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
game=""
trap 'kill "$game" "$xvfb" 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
DISPLAY=":$display" SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} "$fizmo" --demo &
game=$!
sleep 10
DISPLAY=":$display" import -window root "$top/fizmo-demo.png"
kill "$game" 2>/dev/null || true
echo "Screenshot of the demo: $top/fizmo-demo.png"
