#!/usr/bin/env bash
# The real program under Xvfb: its window, menu, play started and stopped from the menu,
# the ship following the pointer, a click firing, the About box, Ctrl+N during play, a
# clean exit from the menu and, with --no-records, no file written; then the start options,
# straight into play, with the results sheet, and ひきざん and わりざん skipped question after
# question.
# Usage: bash shell_window.sh <fizmo binary> <source dir> <build dir>
set -uo pipefail
export SDL_AUDIODRIVER=dummy
. "$(dirname "$0")/x11_harness.bash"

about='ﾊﾞｰｼﾞｮﾝ情報\(Zan\)'

start_xvfb 91 160 || fail "no Xvfb display could be started"
cd "$work" || exit 1
printf 'a\nb\nc\n12\n' >Mondai.dat # the game opens it at start-up
mkdir home
HOME="$work/home" FIZMO_DUMP_MENU=1 "$fizmo" --no-records >out 2>err &
app_pid=$!

# The window: caption and size of the screen.
wait_for 20 window_named "フィズモ" >/dev/null || fail "the window did not appear"
win=$(window_named "フィズモ")
[ "$(xdotool getwindowname "$win")" = "フィズモ" ] || fail "caption is not フィズモ"
read -r sw sh <<<"$(xdotool getdisplaygeometry)"
geometry=$(xdotool getwindowgeometry "$win" | awk '/Geometry/ { print $2 }')
[ "$geometry" = "${sw}x${sh}" ] || fail "window is $geometry, the screen ${sw}x${sh}"

# The menu: as built, and drawn.
wait_for 10 grep -q "^end of menu" out || fail "no menu dump"
for title in "ﾌｧｲﾙ(&F)" "計算の種類" "レベル" "スタート・ストップ" "ﾍﾙﾌﾟ(&H)"; do
  [ -n "$(menu_position "$title")" ] || fail "menu '$title' missing"
done
grep -q "^plain	＊＊＊＊＊＊＊＊＊＊＊＊＊＊＊＊＊＊＊	65535" out || fail "decoration missing"
grep -q "^item	九九の計算	32772	checked" out || fail "九九の計算 not checked at first"
grep -q "^item	かんたん	32776	checked" out || fail "かんたん not checked at first"
read_view_box
sleep 0.5
shot idle
colours=$(convert "$work/idle.png" -crop "${sw}x$((vy - 2))+0+1" +repage -format %k info:)
[ "$colours" -gt 8 ] || fail "the menu bar looks blank ($colours colours)"

# Start: play runs.
choose "スタート・ストップ" 1
wait_for 5 moving 0.5 || fail "nothing moves after スタート"
mkdir -p "$build/e2e"
cp "$work/m2.png" "$build/e2e/play.png"

# Ctrl+N during play changes nothing: play goes on, no dialog.
xdotool key ctrl+n
sleep 0.3
moving 0.5 || fail "play stopped after Ctrl+N"
[ "$(xdotool search --onlyvisible --name . 2>/dev/null | wc -l)" -le 1 ] || fail "a window opened on Ctrl+N"

# Stop: nothing moves.
choose "スタート・ストップ" 2
sleep 0.3
moving 0.5 && fail "still moving after ストップ"

# The ship follows the pointer; a click fires a missile. Ctrl+N repaints the stopped game.
repaint_and_shot() {
  xdotool key ctrl+n
  sleep 0.5
  shot "$1"
}
xdotool mousemove $((vx + 300)) $((vy + 500))
repaint_and_shot ship_a
xdotool mousemove $((vx + 800)) $((vy + 250))
repaint_and_shot ship_b
[ "$(pixels_differing ship_a ship_b "177x177+$((vx + 712))+$((vy + 162))")" -gt 500 ] ||
  fail "no ship appeared under the pointer"
[ "$(pixels_differing ship_a ship_b "177x177+$((vx + 212))+$((vy + 412))")" -gt 500 ] ||
  fail "the ship did not leave its old place"
xdotool click 1
repaint_and_shot missile
[ "$(pixels_differing ship_b missile "50x50+$((vx + 792))+$((vy + 227))")" -gt 50 ] ||
  fail "a click fired no missile"

about_closed() { [ -z "$(window_named "$about")" ]; }

# The About box opens, and Escape and Return close it.
for closer in Escape Return; do
  choose "ﾍﾙﾌﾟ(&H)" 1
  wait_for 5 window_named "$about" >/dev/null || fail "the About box did not open"
  xdotool windowfocus "$(window_named "$about")" 2>/dev/null
  xdotool key "$closer"
  wait_for 5 about_closed || fail "$closer did not close the About box"
done

# Exit from the menu: the program ends with status 0.
quit_app
written=$(find home . -type f -newer Mondai.dat -not -path '*/.cache/*' -not -name '*.png' \
  -not -name out -not -name err)
[ -z "$written" ] || fail "files written with --no-records: $written"

# A classroom shortcut: the hard times tables at once, each question kept in the sheet.
launch --times-tables --level=hard --start --results=results.csv
grep -q "^item	九九の計算	32772	checked" out || fail "九九の計算 not checked"
grep -q "^item	むずかしい	32778	checked" out || fail "むずかしい not checked"
wait_for 5 moving 0.5 || fail "play did not begin with --start"
choose "スタート・ストップ" 2
quit_app
row=',九九の計算,むずかしい,1,"[0-9] × [0-9] =",[0-9]+,"[0-9]*",[0-9]+,[0-9.]+,(ストップ|ゲームオーバー)'
[ "$(od -An -tx1 -N3 results.csv | tr -d " ")" = efbbbf ] || fail "the results sheet has no byte-order mark"
[ "$(wc -l <results.csv)" = 2 ] && tail -n 1 results.csv | grep -qE "$row" ||
  fail "results sheet: $(cat results.csv)"

# ひきざん and わりざん from the start, each question skipped with the space bar: every row is a
# fact of its kind, as shown.
fact_ok() {
  case $1 in
    subtractions) [[ $2 =~ ^[^,]+,ひきざん,かんたん,1,\"([0-9]+)\ －\ ([0-9])\ =\",([0-9]), ]] &&
      ((BASH_REMATCH[1] - BASH_REMATCH[2] == BASH_REMATCH[3])) ;;
    divisions) [[ $2 =~ ^[^,]+,わりざん,かんたん,1,\"([0-9]+)\ ÷\ ([1-9])\ =\",([0-9]), ]] &&
      ((BASH_REMATCH[1] == BASH_REMATCH[2] * BASH_REMATCH[3])) ;;
  esac
}
for kind in subtractions divisions; do
  launch --$kind --level=easy --start --results=$kind.csv
  wait_for 5 moving 0.5 || fail "$kind: play did not begin with --start"
  xdotool mousemove "$((sw - 40))" "$((sh - 40))"
  xdotool key --delay 15 $(printf 'space %.0s' $(seq 200))
  choose "スタート・ストップ" 2
  quit_app
  [ "$(wc -l <$kind.csv)" -ge 100 ] || fail "$kind: few rows: $(wc -l <$kind.csv)"
  while IFS= read -r line; do
    fact_ok $kind "$line" || fail "$kind: not a fact of its kind: $line"
  done < <(tail -n +2 $kind.csv | tr -d '\r')
done
echo "PASS"
