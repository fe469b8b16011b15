#!/usr/bin/env bash
# After a game over, menus opened and closed over the game and a window shrunk and enlarged
# under a window manager leave it alone: the explosion is heard once, through a real sound
# server, and the enlarged window shows the game to its edges.
# Usage: bash game_over_sound.sh <fizmo binary> <source dir> <build dir>
set -uo pipefail
. "$(dirname "$0")/x11_harness.bash"

start_xvfb 501 560 1366x768 || fail "no Xvfb display could be started"
start_wm || fail "openbox did not start"
start_sound_server || fail "the sound server did not start: $(tail -n 5 "$work/sound-server.log")"
cd "$work" || exit 1
printf 'a\nb\nc\n12\n' >Mondai.dat
start_recording recording.raw
export SDL_AUDIODRIVER=pulseaudio FIZMO_TRACE_SOUNDS=1
launch
read_view_box
choose "スタート・ストップ" 1
# The ship waits in the tiles' path, near where they come in, stepping between two heights
# so that its nose meets a row of tiles at any screen size.
step=0
ship_in_path() {
  step=$((1 - step))
  xdotool mousemove $((vx + vw / 4)) $((vy + vh / 2 + step * vh / 24))
  grep -q "^sound bomb" "$work/out"
}
wait_for 120 ship_in_path || fail "no game over within two minutes"
sleep 5 # the explosion and the pause that follows it

# A menu opened and closed without a choice, three times, each long enough for another
# explosion to be heard.
read -r mx my <<<"$(menu_position "ﾍﾙﾌﾟ(&H)")"
for _ in 1 2 3; do
  open_menu "$mx" "$my" || fail "the menu did not open"
  xdotool key Escape
  sleep 5
done
# Un-maximized, shrunk, then enlarged past its first size.
win=$(window_named "フィズモ")
wmctrl -i -r "$win" -b remove,maximized_vert,maximized_horz
xdotool windowsize "$win" 700 450 sleep 1 windowsize "$win" 1300 700
sleep 6
eval "$(xdotool getwindowgeometry --shell "$win")"
shot resized
white=$(convert "$work/resized.png" -crop "500x200+$((X + 750))+$((Y + 480))" +repage \
  -fill black +opaque "#FFFFFF" -format "%[fx:int(mean*100)]" info:)
[ "$white" -lt 20 ] || fail "$white % of the window's grown part is white"
alive || fail "the program ended"
stop_recording
plays=$(grep -c "^sound bomb" "$work/out")
[ "$plays" = 1 ] || fail "the explosion was played $plays times"
heard=$("$build/tests/fizmo_recording_check" --count recording.raw bomb)
[ "$heard" = 1 ] || fail "the explosion was heard $heard times"
quit_app
echo PASS
