#!/usr/bin/env bash
# Plays the demo on a virtual display (Xvfb) and saves a screenshot, for machines without
# a display. Usage: headless_demo.sh <fizmo binary> <screenshot.png>
# Run it in the folder whose Mondai.dat the game should read. FIZMO_DEMO_SECONDS sets the
# length (10 by default), FIZMO_DEMO_SCREEN the virtual screen (1920x1080 by default).
set -euo pipefail
fizmo=$1
shot=$2
seconds=${FIZMO_DEMO_SECONDS:-10}
screen=${FIZMO_DEMO_SCREEN:-1920x1080}

display=99
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
  display=$((display + 1))
done
game=""
Xvfb ":$display" -screen 0 "${screen}x24" -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $game $xvfb 2>/dev/null || true; wait 2>/dev/null || true' EXIT
for _ in $(seq 100); do
  [ -e "/tmp/.X11-unix/X$display" ] && break
  sleep 0.1
done
DISPLAY=":$display" SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} "$fizmo" --demo >/dev/null 2>&1 &
game=$!
sleep "$seconds"
kill -0 "$game" 2>/dev/null || { echo "The game ended early." >&2; exit 1; }
DISPLAY=":$display" import -window root "$shot"
