#!/usr/bin/env bash
# The game on a Wayland desktop: --demo under a headless Weston, with no X display to fall back
# to. Its maximized window fills the screen up to the right and bottom edges, and the picture
# moves; the stage-clear line stands through its pause.
# Usage: bash wayland.sh <fizmo binary> <source dir> <build dir>
set -uo pipefail
src=$(realpath "$2")
. "$(dirname "$0")/x11_harness.bash"
unset DISPLAY
export QT_QPA_PLATFORM=wayland SDL_AUDIODRIVER=dummy
w=1366 h=768

# A screenshot of the compositor's output as $work/$1.png; the moving check uses it too.
shot() {
  rm -rf "$work/shooter" && mkdir "$work/shooter" &&
    (cd "$work/shooter" && weston-screenshooter >/dev/null 2>&1) &&
    mv "$work/shooter"/*.png "$work/$1.png"
}
# Percent of area $1 (WxH+X+Y) in $work/now.png that is near white, as the window colour and
# the desktop are.
light_share() {
  convert "$work/now.png" -crop "$1" +repage -colorspace gray -threshold 85% \
    -format "%[fx:int(mean*100)]" info:
}
# A 16-pixel strip along the right (below the title bar) and the bottom: the window frame's
# 3 pixels, a star or the ship may be light, not most of it.
filled() {
  shot now || return 1
  [ "$(light_share "16x$((h * 3 / 4))+$((w - 16))+$((h / 4))")" -lt 50 ] &&
    [ "$(light_share "${w}x16+0+$((h - 16))")" -lt 50 ]
}

start_weston "${w}x$h" || fail "Weston did not start: $(tail -n 5 "$work/weston.log")"
cd "$work" || exit 1
cp "$src/res/Mondai.dat" .
# The 1のだん in order: one-digit answers, so the pilot reaches the stage clear soonest.
FIZMO_TRACE_SOUNDS=1 FIZMO_DUMP_MENU=1 "$fizmo" --demo --table=1 --order=up >out 2>err &
app_pid=$!
wait_for 20 grep -q "^view" out || fail "the window did not come up"
wait_for 20 filled || fail "the game does not fill the screen: light at the right or bottom edge"
moving 1 || fail "the picture does not move"
alive || fail "the program ended"

# The stage-clear line stands on the screen through its pause, while the program holds its
# thread, as under X11: the clear sound comes 3 s into the 9 s pause of the first stage clear.
cyan_line() {
  shot "$1" && [ "$(convert "$work/$1.png" -crop "${w}x$((h / 2))+0+$((h / 4))" +repage \
    -fill black +opaque "#00FFFF" -fill white -opaque "#00FFFF" -format "%[fx:int(mean*w*h)]" info:)" -gt 300 ]
}
wait_for 180 grep -q "^sound clear" out || fail "no stage clear within 3 minutes"
cyan_line clear || fail "no stage-clear line on the screen during its pause"
sleep 1
cyan_line still || fail "the stage-clear line did not stay through its pause"
echo PASS
