#!/usr/bin/env bash
# After a game over, menus opened and closed over the game leave it alone: the explosion is
# heard once, through a real sound server, however often the view is uncovered.
# Usage: bash game_over_sound.sh <fizmo binary> <source dir> <build dir>
set -uo pipefail
. "$(dirname "$0")/x11_harness.bash"

start_xvfb 501 560 || fail "no Xvfb display could be started"
start_sound_server || fail "the sound server did not start: $(tail -n 5 "$work/sound-server.log")"
cd "$work" || exit 1
printf 'a\nb\nc\n12\n' >Mondai.dat
start_recording recording.raw
export SDL_AUDIODRIVER=pulseaudio FIZMO_TRACE_SOUNDS=1
launch
read_view_box
choose "スタート・ストップ" 1
# The ship waits in the tiles' path, near where they come in.
xdotool mousemove $((vx + vw / 4)) $((vy + vh / 2))
wait_for 120 grep -q "^sound bomb" "$work/out" || fail "no game over within two minutes"
sleep 5 # the explosion and the pause that follows it

# A menu opened and closed without a choice, three times, each long enough for another
# explosion to be heard.
read -r mx my <<<"$(menu_position "ﾍﾙﾌﾟ(&H)")"
for _ in 1 2 3; do
  open_menu "$mx" "$my" || fail "the menu did not open"
  xdotool key Escape
  sleep 5
done
alive || fail "the program ended"
stop_recording
plays=$(grep -c "^sound bomb" "$work/out")
[ "$plays" = 1 ] || fail "the explosion was played $plays times"
heard=$("$build/tests/fizmo_recording_check" --count recording.raw bomb)
[ "$heard" = 1 ] || fail "the explosion was heard $heard times"
quit_app
echo PASS
