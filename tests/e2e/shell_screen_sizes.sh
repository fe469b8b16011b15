#!/usr/bin/env bash
# The game fills the window on the screens people have, at Qt scale 1 and 2: --demo plays
# on a maximized window; nowhere along its right and bottom edges does the plain window
# colour show, the stage-clear line stands in the middle of the window, and a ship follows
# the player's pointer into the window's right quarter.
# Usage: bash shell_screen_sizes.sh <fizmo binary> <source dir> <build dir> [WxH scale]
set -uo pipefail
if [ $# -lt 5 ]; then
  # Side by side: each screen spends about a minute in the demo's first stage.
  pids=()
  first=441
  for screen in "1366x768 1" "1920x1080 1" "2560x1440 1" "2560x1440 2"; do
    # shellcheck disable=SC2086
    FIZMO_DISPLAYS="$first $((first + 69))" bash "$0" "$1" "$2" "$3" $screen &
    pids+=($!)
    first=$((first + 70))
  done
  status=0
  for pid in "${pids[@]}"; do wait "$pid" || status=1; done
  [ "$status" = 0 ] && echo "PASS"
  exit "$status"
fi
src=$(realpath "$2")
size=$4
scale=$5
export SDL_AUDIODRIVER=dummy QT_SCALE_FACTOR=$scale
. "$(dirname "$0")/x11_harness.bash"
at="$size, scale $scale"

# shellcheck disable=SC2086
start_xvfb ${FIZMO_DISPLAYS:-441 510} "$size" || fail "$at: no Xvfb display could be started"
cd "$work" || exit 1
cp "$src/res/Mondai.dat" .
FIZMO_DUMP_MENU=1 "$fizmo" --demo >out 2>err &
app_pid=$!
wait_for 20 grep -q "^view" out || fail "$at: the window did not come up"
# The view's place in device pixels.
read_view_box
vx=$((vx * scale)) vy=$((vy * scale)) vw=$((vw * scale)) vh=$((vh * scale))
[ "$vw" -ge $((${size%x*} - 2)) ] || fail "$at: the window is only $vw pixels wide"

# Pixels of exactly colour $2 within the area $3 of picture $1: "count width height x y"
# of their bounding box.
colour_box() {
  convert "$1" -precision 12 -crop "$3" +repage -fill black +opaque "$2" -fill white -opaque "$2" \
    -format "%[fx:mean*w*h] " -write info: -trim -format "%w %h %X %Y" info: 2>/dev/null
}
white_share() {
  local count
  read -r count _ <<<"$(colour_box "$work/now.png" "#FFFFFF" "$1")"
  echo $((${count%.*} * 100 / $2))
}
# The window colour would show in bands along the right and the bottom.
filled() {
  shot now
  local strip=$((16 * scale))
  [ "$(white_share "${strip}x$vh+$((vx + vw - strip))+$vy" $((strip * vh)))" -lt 25 ] &&
    [ "$(white_share "${vw}x$strip+$vx+$((vy + vh - strip))" $((strip * vw)))" -lt 25 ]
}
wait_for 20 filled || fail "$at: the window colour shows at the right or bottom edge"

# The cyan line of 40-pixel letters (game over has larger ones), its middle within a few
# pixels of the window's.
stage_clear_centred() {
  local count w h x y
  kill -0 "$app_pid" 2>/dev/null || fail "$at: the program ended"
  shot now
  read -r count w h x y <<<"$(colour_box "$work/now.png" "#00FFFF" "${vw}x$vh+$vx+$vy")"
  [ "${count%.*}" -gt $((300 * scale * scale)) ] && [ "$h" -le $((44 * scale)) ] || return 1
  local dx=$((2 * x + w - vw)) dy=$((2 * y + h - vh))
  [ "${dx#-}" -le $((8 * scale)) ] && [ "${dy#-}" -le $((16 * scale)) ] ||
    fail "$at: the stage-clear line is off the middle by $((dx / 2)), $((dy / 2))"
}
wait_for 240 stage_clear_centred || fail "$at: no stage clear within 4 minutes"
mkdir -p "$build/e2e"
cp "$work/now.png" "$build/e2e/screen_${size}_scale$scale.png" 2>/dev/null

# A player's move ends the demo once the pause is over (moves made during it arrive as one,
# which only tells where the pointer is); the player then starts a game from the menu.
wait_for 20 moving || fail "$at: play does not go on after the stage clear"
took_over() {
  xdotool mousemove $((vx + vw / 2)) $((vy + vh / 2)) sleep 0.3 mousemove $((vx + vw / 2 + 40)) $((vy + vh / 2))
  sleep 0.5
  ! moving 0.5
}
wait_for 20 took_over || fail "$at: the demo goes on after the player's move"
read -r mx my <<<"$(menu_position "スタート・ストップ")"
open_menu $((mx * scale)) $((my * scale)) || fail "$at: the menu does not open"
xdotool key Down Return

# The ship's light grey (found nowhere else in the game's pictures) stands 35 pixels right of
# and 13 below the pointer, at any scale: the ship's nose is left of the sprite's middle.
px=$((vx + vw * 7 / 8)) py=$((vy + vh * 2 / 3))
ship_at_pointer() {
  local count w h x y
  xdotool mousemove $((px - 40)) $((py - 40)) sleep 0.2 mousemove "$px" "$py" sleep 0.3
  shot now
  read -r count w h x y <<<"$(colour_box "$work/now.png" "#D8DEE8" "${vw}x$vh+$vx+$vy")"
  [ "${count%.*}" -gt 0 ] || return 1
  local dx=$(((2 * (vx + x) + w) / 2 - px - 35 * scale))
  local dy=$(((2 * (vy + y) + h) / 2 - py - 13 * scale))
  [ "${dx#-}" -le $((4 * scale)) ] && [ "${dy#-}" -le $((4 * scale)) ] && return 0
  echo "ship off the pointer by $dx, $dy" >"$work/ship"
  return 1
}
wait_for 20 ship_at_pointer || fail "$at: the ship is not where the pointer is: $(cat "$work/ship" 2>/dev/null)"
echo "PASS $at"
