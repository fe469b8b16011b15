#!/usr/bin/env bash
# No sound device: one "DirectSound Error" box, then a silent game that plays. A window
# squeezed to 1 x 1 during play and restored keeps the game running and drawing.
# Nothing in the working folder changes.
# Usage: bash bad_input_no_sound.sh <fizmo binary> <source dir> <build dir>
set -uo pipefail
. "$(dirname "$0")/x11_harness.bash"

# The default driver, as a player's machine without sound hardware has it. Where a sound
# server or card is there after all, ALSA is named with a device that does not exist.
unset SDL_AUDIODRIVER AUDIODEV
if compgen -G "/dev/snd/pcm*" >/dev/null || [ -n "${PULSE_SERVER:-}" ] ||
  compgen -G "${XDG_RUNTIME_DIR:-/nonexistent}/p*" >/dev/null; then
  export SDL_AUDIODRIVER=alsa AUDIODEV=fizmo-no-such-device
fi

start_xvfb 231 300 || fail "no Xvfb display could be started"
mkdir "$work/play" && cd "$work/play" || exit 1
printf 'a\nb\nc\n12\n' >Mondai.dat
before=$(folder_state .)
launch

wait_for 20 window_named "DirectSound Error" >/dev/null || fail "no DirectSound Error box"
box_has_text "DirectSound Error" || fail "the DirectSound Error box shows no text"
close_box "DirectSound Error"
sleep 2
[ "$(box_count "DirectSound Error")" = 0 ] || fail "a second DirectSound Error box"
[ "$(xdotool search --onlyvisible --name . 2>/dev/null | wc -l)" -le 1 ] || fail "another window opened"
alive || fail "the program ended after the box"

choose "スタート・ストップ" 1
wait_for 5 moving || fail "nothing moves after スタート without sound"

win=$(window_named "フィズモ")
xdotool windowsize "$win" 1 1
wait_for 5 bash -c "xdotool getwindowgeometry $win | grep -q 'Geometry: 1x1'" ||
  fail "the window did not shrink to 1 x 1"
sleep 2
alive || fail "the program ended at 1 x 1"
xdotool windowsize "$win" 1280 1024
wait_for 5 moving || fail "nothing moves after the window came back from 1 x 1"
quit_app
[ "$(folder_state .)" = "$before" ] || fail "the working folder changed"
echo "PASS"
