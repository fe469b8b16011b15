#!/usr/bin/env bash
# --demo plays by itself through the first stage; during the stage-clear pause, while the
# program holds its thread, "Clear Stage 1" stands in cyan in the middle of the window.
# Started without a problem file, it shows the box that says so, which closes by itself.
# A move of the player's ends the demo and leaves the game as a launch does: standing still,
# waiting for Start, with score 0 in stage 1.
# Usage: bash shell_demo_stage_clear.sh <fizmo binary> <source dir> <build dir>
set -uo pipefail
export SDL_AUDIODRIVER=dummy
. "$(dirname "$0")/x11_harness.bash"

# Width and height of the cyan (0,255,255) text in the band across the window's middle,
# or "0 0" when there is none.
cyan_text_size() {
  convert "$1" -crop "1000x160+140+$((vy + vh / 2 - 80))" +repage \
    -fill black +opaque "#00FFFF" -fill white -opaque "#00FFFF" \
    -trim -format "%w %h %[fx:mean*w*h]" info: 2>/dev/null
}

start_xvfb 161 230 || fail "no Xvfb display could be started"
cd "$work" || exit 1
# The pointer stays still throughout: a move by the player would end the demo.
FIZMO_TRACE_SOUNDS=1 FIZMO_DUMP_MENU=1 "$fizmo" --demo >out 2>err &
app_pid=$!
wait_for 20 grep -q "^view" out || fail "the window did not come up"
read_view_box
# The red score in the window's top-left corner of picture $1, kept as a mask in
# $1_score.png; prints how many pixels are red.
score_mask() {
  convert "$work/$1.png" -crop "300x70+$vx+$vy" +repage -fill black +opaque "#FF0000" \
    -fill white -opaque "#FF0000" -write "$work/$1_score.png" -format "%[fx:int(mean*w*h)]" info:
}
# "得点0" as the launch shows it, well before the demo's first hit.
launch_score() {
  import -window root "$work/launch.png"
  [ "$(score_mask launch)" -gt 100 ]
}
wait_for 5 launch_score || fail "no score shown at launch"
wait_for 10 window_named Fizmo >/dev/null || fail "no box saying the problem file cannot be opened"
# It closes by itself in a few seconds, and the program plays on.
wait_for 8 bash -c '[ -z "$(xdotool search --onlyvisible --name "^Fizmo\$" 2>/dev/null)" ]' ||
  fail "the box is still standing over the demo"

same_picture() {
  [ "$(compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1 | cut -d' ' -f1)" = 0 ]
}
# A one-line message of 40-pixel letters (the game-over line is larger), still there and
# with nothing else moved a second later: the thread is held.
stage_clear_on_screen() {
  local w h pixels
  read -r w h pixels <<<"$(cyan_text_size "$work/now.png")"
  [ "${pixels%.*}" -gt 300 ] && [ "$h" -le 42 ] && [ "$w" -ge 150 ] || return 1
  sleep 1
  import -window root "$work/later.png"
  same_picture now later
}

# Stage 1 needs ten right digits; the pilot usually takes about a minute.
alive_and_cleared() {
  kill -0 "$app_pid" 2>/dev/null || fail "the program ended"
  import -window root "$work/now.png"
  stage_clear_on_screen
}
wait_for 180 alive_and_cleared || fail "no stage-clear message held on the screen within 3 minutes"
mkdir -p "$build/e2e"
cp "$work/now.png" "$build/e2e/stage_clear.png"

# After the pause the demo plays on in stage 2.
changed_since_pause() {
  import -window root "$work/after.png"
  ! same_picture later after
}
wait_for 15 changed_since_pause || fail "play did not go on after the pause"
! grep -q "^sound boo" out || fail "the demo hit a wrong tile"
sleep 5
xdotool mousemove $((vx + vw / 2)) $((vy + vh / 2)) sleep 0.3 mousemove $((vx + vw / 2 + 40)) $((vy + vh / 2))
sleep 1.5
import -window root "$work/taken.png"
sleep 1
import -window root "$work/still.png"
same_picture taken still || fail "the game goes on after the player took over"
score_mask still >/dev/null
same_picture launch_score still_score || fail "the score is not 0 after the demo"
# Stage 1's star field is dark; stage 2's meadow is not.
dark=$(convert "$work/still.png" -crop "${vw}x$vh+$vx+$vy" -colorspace gray -format "%[fx:mean<0.3]" info:)
[ "$dark" = 1 ] || fail "the game is not back in stage 1 after the demo"
echo "PASS"
