#!/usr/bin/env bash
# The real program under Xvfb: its window, menu, play started and stopped from the menu,
# the ship following the pointer, a click firing, the About box, Ctrl+N during play, and
# a clean exit from the menu.
# Usage: bash shell_window.sh <fizmo binary> <source dir> <build dir>
set -uo pipefail
fizmo=$(realpath "$1")
build=$(realpath "$3")
export SDL_AUDIODRIVER=dummy
unset QT_QPA_PLATFORM
work=$(mktemp -d)
app_pid=""
xvfb_pid=""

fail() {
  echo "FAIL: $*" >&2
  [ -s "$work/err" ] && sed 's/^/  fizmo: /' "$work/err" >&2
  exit 1
}
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# Runs "$@" every 0.1 s until it succeeds or $1 seconds have passed.
wait_for() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

start_xvfb() {
  for n in $(seq 91 160); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    if wait_for 5 env DISPLAY=":$n" xdotool getdisplaygeometry >/dev/null 2>&1; then
      export DISPLAY=":$n"
      return 0
    fi
    kill "$xvfb_pid" 2>/dev/null
    xvfb_pid=""
  done
  return 1
}

shot() { import -window root "$work/$1.png"; }
# The number of pixels that differ between two screenshots, optionally in one region WxH+X+Y.
pixels_differing() {
  local a="$work/$1.png" b="$work/$2.png"
  if [ $# -ge 3 ]; then
    convert "$a" -crop "$3" +repage "$work/a.png"
    convert "$b" -crop "$3" +repage "$work/b.png"
    a="$work/a.png" b="$work/b.png"
  fi
  compare -metric AE "$a" "$b" null: 2>&1 | cut -d' ' -f1
}
# Whether the picture changes within half a second.
moving() {
  shot m1
  sleep 0.5
  shot m2
  [ "$(pixels_differing m1 m2)" != 0 ]
}
menu_position() { awk -F'\t' -v t="$1" '$1 == "menu" && $2 == t { sub("at ", "", $3); print $3 }' "$work/out"; }
# Opens a menu by clicking its title and chooses the item `downs` places down.
choose() {
  local title=$1 downs=$2 x y
  read -r x y <<<"$(menu_position "$title")"
  [ -n "$x" ] || fail "no menu '$title' in the menu dump"
  for attempt in 1 2 3; do
    shot before_menu
    xdotool mousemove "$x" "$y" click 1
    if wait_for 3 popup_open "$x" "$y"; then
      for ((d = 0; d < downs; d++)); do xdotool key Down; done
      xdotool key Return
      sleep 0.3
      return 0
    fi
    xdotool key Escape
  done
  fail "menu '$title' does not open"
}
popup_open() {
  shot with_menu
  [ "$(pixels_differing before_menu with_menu "200x60+$(($1 - 40))+$(($2 + 12))")" != 0 ]
}
# A visible window whose caption matches the regular expression in full.
window_named() {
  local id
  id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
  [ -n "$id" ] && echo "$id"
}
about='ﾊﾞｰｼﾞｮﾝ情報\(Zan\)'

start_xvfb || fail "no Xvfb display could be started"
cd "$work" || exit 1
printf 'a\nb\nc\n12\n' >Mondai.dat # the game opens it at start-up
FIZMO_DUMP_MENU=1 "$fizmo" >out 2>err &
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
read -r _ vx vy _ vw vh <<<"$(awk -F'\t' '$1 == "view" { print $2 }' out)"
sleep 0.5
shot idle
colours=$(convert "$work/idle.png" -crop "${sw}x$((vy - 2))+0+1" +repage -format %k info:)
[ "$colours" -gt 8 ] || fail "the menu bar looks blank ($colours colours)"

# Start: play runs.
choose "スタート・ストップ" 1
wait_for 5 moving || fail "nothing moves after スタート"
mkdir -p "$build/e2e"
cp "$work/m2.png" "$build/e2e/play.png"

# Ctrl+N during play changes nothing: play goes on, no dialog.
xdotool key ctrl+n
sleep 0.3
moving || fail "play stopped after Ctrl+N"
[ "$(xdotool search --onlyvisible --name . 2>/dev/null | wc -l)" -le 1 ] || fail "a window opened on Ctrl+N"

# Stop: nothing moves.
choose "スタート・ストップ" 2
sleep 0.3
moving && fail "still moving after ストップ"

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
choose "ﾌｧｲﾙ(&F)" 2
wait_for 10 bash -c "! kill -0 $app_pid 2>/dev/null" || fail "the program did not exit"
wait "$app_pid"
status=$?
app_pid=""
[ "$status" = 0 ] || fail "exit status $status"
echo "PASS"
