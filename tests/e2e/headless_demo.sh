#!/usr/bin/env bash
# Without a display, the demo plays on a virtual one and leaves a screenshot of the game.
# Usage: bash headless_demo.sh <fizmo binary> <source dir> <build dir>
set -uo pipefail
fizmo=$(realpath "$1")
src=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cp "$src/res/Mondai.dat" "$work/"
cd "$work" || fail "no work folder"
(unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
 FIZMO_DEMO_SECONDS=4 bash "$src/scripts/headless_demo.sh" "$fizmo" "$work/demo.png") \
  || fail "the headless demo failed"
[ -s "$work/demo.png" ] || fail "no screenshot"
# The game's picture, not an empty screen: many colours.
colours=$(convert "$work/demo.png" -format %k info:)
[ "$colours" -gt 50 ] || fail "the screenshot has only $colours colours"
echo PASS
