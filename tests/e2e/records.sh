#!/usr/bin/env bash
# The child's records, as a family and a teacher meet them: started with no option and a
# fresh home, a game leaves its row in the unnamed record; きろく shows it, then follows a
# child named in なまえ… as they play on; a known set of
# records shows each colour on screens of 1366 x 768 and 1920 x 1080; the teacher's PDF shows
# them too with its Japanese text selectable; damaged records are read as far as they can be,
# named in one line, and left byte for byte as they were; --no-records keeps nothing; the
# practice chosen at start is checked in the menu and remembered; records in a class's shared
# folder hold under a decimal-comma locale, a torn row, a link, a FIFO, a name in two forms and a
# sheet a spreadsheet saved again.
# Usage: bash records.sh <fizmo binary> <source dir> <build dir>
set -uo pipefail
[ -n "${FIZMO_E2E_TRACE:-}" ] && set -x
export SDL_AUDIODRIVER=dummy
. "$(dirname "$0")/x11_harness.bash"

cd "$work" || exit 1
printf 'a\nb\nc\n12\n' >Mondai.dat
export HOME="$work/home" XDG_DATA_HOME="" XDG_CONFIG_HOME=""
mkdir -p "$HOME"
records="$HOME/.local/share/Fizmo/records"

# The fact-state colours, as the window and the page paint them.
green="#4CAF50" red="#E53935" yellow="#FDD835"
pixels_of() {
  convert "$1" -fill black +opaque "$2" -fill white -opaque "$2" -format "%[fx:mean*w*h]" info: |
    cut -d. -f1
}
# Picture $1 has at least $3 more pixels of each colour named after it than picture $2 of an
# empty record at the same size: the legend's swatches show every colour in both.
more_cells() {
  local picture=$1 empty=$2 least=$3 colour
  shift 3
  for colour in "$@"; do
    [ "$(pixels_of "$picture" "$colour")" -ge $(($(pixels_of "$empty" "$colour") + least)) ] ||
      { echo "$colour: $(pixels_of "$picture" "$colour") pixels, empty $(pixels_of "$empty" "$colour")" >&2; return 1; }
  done
}
kiroku_shows() { box_picture "きろく" "$1" && { [ -z "${2:-}" ] || more_cells "$work/$1.png" "$work/$2.png" "${@:3}"; }; }
# Plays until the game is over and its row is in a record file of folder $1. Play is started again if the
# choice went astray (on a loaded machine a key can reach the game before the menu holds the
# keyboard). The ship then waits at the view's left, where tiles come in, never under きろく.
play_to_game_over() {
  local step=0 started=""
  read_view_box
  for _ in 1 2 3; do
    choose "スタート・ストップ" 1
    wait_for 5 moving 0.5 "100x$vh+$vx+$vy" && started=1 && break
  done
  [ -n "$started" ] || fail "play did not start"
  ship_in_path() {
    step=$((1 - step))
    xdotool mousemove $((vx + 60)) $((vy + vh / 2 + step * vh / 24))
    cat "$1"/*.csv 2>/dev/null | grep -q ゲームオーバー
  }
  wait_for 60 ship_in_path "$1" || fail "no game-over row in $1: $(ls -R "$records" 2>&1 | head)"
}
row() { printf '%s,九九の計算,ふつう,1,"%s × %s =",%s,"%s",%s,%s,%s,""\r\n' "$1" "$2" "$3" $(($2 * $3)) "$4" "$5" "$6" "$7"; }

# 1. From the launcher, no option: a hard game ends on the ship, and its row is kept.
start_xvfb 700 760 1366x768 || fail "no Xvfb display"
launch
choose "レベル" 3
play_to_game_over "$records/_unnamed"
own_file=$(basename "$(ls "$records/_unnamed/"*.csv)")
[[ $own_file = "$(hostname)"-????????.csv ]] || fail "this computer's file is $own_file"
[ "$(od -An -tx1 -N3 "$records/_unnamed/$own_file" | tr -d ' ')" = efbbbf ] || fail "no byte-order mark"
shot explosion # the end of play holds the explosion at the ship's nose on the screen
mkdir -p "$build/e2e" && cp "$work/explosion.png" "$build/e2e/"
choose "ﾌｧｲﾙ(&F)" 3
wait_for 10 window_named "きろく" >/dev/null || fail "きろく did not open"
sleep 1
kiroku_shows unnamed || fail "no picture of きろく"
# A name typed in なまえ… takes the next rows, and きろく follows the child as they play on.
choose "ﾌｧｲﾙ(&F)" 2
wait_for 10 window_named "なまえ" >/dev/null || fail "なまえ… did not open"
sleep 0.5 # the dialog takes the keyboard once it is up
xdotool windowfocus --sync "$(window_named "なまえ")" 2>/dev/null
xdotool type --delay 50 "Ken"
xdotool key Return
wait_for 10 eval 'kiroku_shows empty && more_cells "$work/unnamed.png" "$work/empty.png" 200 $yellow' ||
  fail "きろく did not show the missed fact in yellow, then Ken's empty record"
play_to_game_over "$records/Ken"
[ -f "$records/Ken/$own_file" ] || fail "Ken's rows are not in this computer's file: $(ls "$records/Ken")"
wait_for 10 kiroku_shows ken empty 200 $yellow || fail "きろく did not follow Ken's play"
quit_app

# 2. A known set of records for たろう: each state where it belongs, at two screen sizes.
taro="$records/たろう"
mkdir -p "$taro"
{
  printf '\xEF\xBB\xBF日時,計算の種類,レベル,ステージ,問題,答え,入力した数字,まちがい,秒,結果,問題ファイル\r\n'
  for d in 01 02; do row "2026-12-$d 17:00:00" 7 3 21 0 3.0 正解; done # できた
  for d in 01 02; do row "2026-12-$d 17:01:00" 6 7 42 2 9.0 正解; done # れんしゅう中
  row "2026-12-02 17:02:00" 8 9 "" 0 30.0 ゲームオーバー                  # もうすこし
} >"$taro/other-computer.csv"
before=$(md5sum "$taro/other-computer.csv")
for size in 1366x768 1920x1080; do
  kill "$xvfb_pid" 2>/dev/null
  start_xvfb 700 760 "$size" || fail "no Xvfb display at $size"
  for child in ゆき たろう; do
    launch --name=$child
    choose "ﾌｧｲﾙ(&F)" 3
    wait_for 10 window_named "きろく" >/dev/null || fail "$size: きろく did not open"
    sleep 1
    [ $child = たろう ] && continue
    kiroku_shows "kiroku_ゆき_$size" || fail "$size: no picture of きろく"
    quit_app
  done
  wait_for 10 kiroku_shows "kiroku_たろう_$size" "kiroku_ゆき_$size" 300 $green $red $yellow ||
    fail "$size: a state's colour is missing in きろく"
  shot "kiroku_$size"
  mkdir -p "$build/e2e" && cp "$work/kiroku_$size.png" "$build/e2e/"
  quit_app
done
[ "$(md5sum "$taro/other-computer.csv")" = "$before" ] || fail "reading changed the records"

# 3. The teacher's PDF: the class page, then たろう's with every colour; its text selectable.
"$fizmo" --report=class.pdf 2>report.err || fail "--report: $(cat report.err)"
pdftoppm -r 50 -png class.pdf page || fail "pdftoppm cannot read the PDF"
taro_page=""
for page in $(seq "$(ls page-*.png | wc -l)"); do
  pdftotext -f "$page" -l "$page" class.pdf - | grep -q "^たろう" && taro_page=$page
done
[ -n "$taro_page" ] || fail "no page of たろう's with its Japanese text selectable: $(pdftotext class.pdf - | head)"
head -n 1 "$taro/other-computer.csv" >ゆき.csv
"$fizmo" --report=empty.pdf ゆき.csv 2>/dev/null && pdftoppm -r 50 -f 2 -l 2 -png empty.pdf empty ||
  fail "no PDF of an empty record"
more_cells "page-$taro_page.png" empty-2.png 60 $green $red $yellow ||
  fail "a state's colour is missing on たろう's page"
cp "page-$taro_page.png" "$build/e2e/report_page.png"

# 4. Damaged records: what can be read is shown, what cannot is named in one line, and every
# file stays as it was.
bad="$work/bad/じろう"
mkdir -p "$bad/folder.csv"
{ cat "$taro/other-computer.csv"; printf '2026-12-03 17:00:00,九九の計算,ふつう,1,"7 × 3 =",21,"2'; } >"$bad/torn.csv"
printf '2026-12-03,九九の計算\r\n%s' "$(row "2026-12-03 17:00:00" 7 3 21 0 3.0 正解 | tr -d '\r\n'),x,y" >"$bad/cells.csv"
head -c 5000000 /dev/urandom >"$bad/random.csv"
row "2026-12-03 17:00:00" 2 2 4 0 3.0 正解 | iconv -f UTF-8 -t CP932 >"$bad/sjis.csv"
before=$(folder_state "$work/bad")
timeout 60 "$fizmo" --report=bad.pdf "$bad" 2>bad.err || fail "--report on damaged records: $(cat bad.err)"
[ "$(folder_state "$work/bad")" = "$before" ] || fail "reading damaged records changed them"
[ "$(grep -c "^fizmo:" bad.err)" = 1 ] || fail "not one line for what was skipped: $(cat bad.err)"
for name in cells.csv folder.csv random.csv "ほか 1 ファイル"; do
  grep -q "$name" bad.err || fail "$name is not named: $(cat bad.err)"
done
grep -q sjis.csv bad.err && fail "the Shift-JIS sheet was not read: $(cat bad.err)"
pdftoppm -r 50 -f 2 -l 2 -png bad.pdf bad || fail "no page for the damaged records"
more_cells bad-2.png empty-2.png 60 $green $red $yellow || fail "the rows that could be read are not shown"

# 5. --no-records keeps nothing. Practice chosen at start is checked in the menu, and
# remembered for the next start.
rm -rf "$HOME"
mkdir -p "$HOME"
practice_checked() {
  for item in "7のだん	32807" "さがり	32811" "だけ	32816" "にがてを多めに	32813"; do
    grep -q "^item	$item	checked" "$work/out" || fail "$1: $item is not checked: $(grep -A20 九九の段 "$work/out")"
  done
}
launch --no-records --level=hard --start --divisions --table=7 --order=down --carry=only --practice-weak
practice_checked "the start options"
grep -q "^item	わりざん	32781	checked" "$work/out" || fail "わりざん is not checked: $(grep -A8 計算の種類 "$work/out")"
sleep 8 # the hard level's game over comes within seconds
quit_app
[ -z "$(find "$HOME" -name '*.csv')" ] || fail "--no-records kept a file: $(find "$HOME" -name '*.csv')"
launch --no-records
practice_checked "the next start"
quit_app
# 6. Records that hold in a class's shared folder. Every input below leaves the files that were
# there byte for byte as they were, except for the rows a game legitimately appends.
class="$work/class"
mkdir -p "$class"
rows_in() { cat "$class/$1/"*.csv 2>/dev/null | grep -c "$2"; }
# Plays a hard game as child $1 until its game over is kept; further arguments go to fizmo.
play_class_game() {
  local child=$1 before
  shift
  before=$(rows_in "$child" ゲームオーバー)
  launch --records-dir="$class" --name="$child" --level=hard --start "$@"
  wait_for 40 eval '[ "$(rows_in "$child" ゲームオーバー)" -gt "$before" ]' ||
    fail "no game over kept for $child"
}
# A decimal-comma locale: its rows read back, in きろく and in the teacher's PDF.
mkdir -p "$work/locales"
localedef -i de_DE -f UTF-8 "$work/locales/de_DE.UTF-8" 2>/dev/null
printf '#!/bin/sh\nLOCPATH="%s" LC_ALL=de_DE.UTF-8 exec "%s" "$@"\n' "$work/locales" "$fizmo" >fizmo-de
chmod +x fizmo-de
if [ "$(LOCPATH="$work/locales" LC_ALL=de_DE.UTF-8 bash -c 'printf %.1f 1')" = "1,0" ]; then
  fizmo_c=$fizmo fizmo="$work/fizmo-de"
  play_class_game Lena
  grep -q ',[0-9]*\.[0-9],ゲームオーバー,' "$class/Lena/"*.csv || fail "de_DE: $(tail -n 1 "$class/Lena/"*.csv)"
  choose "ﾌｧｲﾙ(&F)" 3
  wait_for 10 kiroku_shows lena "kiroku_ゆき_1920x1080" 100 $yellow || fail "de_DE: きろく shows no row"
  quit_app
  day=$(grep ゲームオーバー "$class/Lena/"*.csv | head -n 1 | cut -c 1-10)
  "$fizmo" --report=de.pdf "$class/Lena" 2>de.err || fail "de_DE: no PDF"
  fizmo=$fizmo_c
  ! grep -q 読めなかった de.err && pdftotext -f 2 -l 2 de.pdf - | grep -q "^$day" ||
    fail "de_DE: the PDF shows no row: $(cat de.err)"
else
  echo "no de_DE.UTF-8 locale (localedef from the locales package): a decimal comma is not tried"
  play_class_game Lena
  quit_app
fi
own_file=$(basename "$(ls "$class/Lena/"*.csv)")
# A torn last row, a link and a FIFO where a child's file goes, a sheet a spreadsheet saved.
printf '2026-12-03 17:00:00,九九の計算,ふつう,1,"7 × 3 =",21,"2' >>"$class/Lena/$own_file"
cp "$class/Lena/$own_file" lena.before
mkdir -p "$class/Mio" "$class/Sora" "$class/ユイ"
printf 'not records\n' >elsewhere.txt
ln -s "$work/elsewhere.txt" "$class/Mio/$own_file"
mkfifo "$class/Sora/$own_file"
{
  printf '日時,計算の種類,レベル,ステージ,問題,答え,入力した数字,まちがい,秒,結果,問題ファイル\n'
  printf '2026/12/1 17:00,九九の計算,ふつう,1,7 × 3 =,21,21,0,3,正解,\n'
  printf '12/2/26 5:01 PM,九九の計算,ふつう,1,6 × 7 =,42,942,1,9.5,正解,\n'
  printf '03.12.2026 17:02,九九の計算,ふつう,1,8 × 9 =,72,,0,30,ゲームオーバー,\n'
} >"$class/ユイ/saved.csv"
kept=$(folder_state "$class/Mio"; folder_state "$class/Sora"; folder_state "$class/ユイ"; md5sum elsewhere.txt)
play_class_game Lena
quit_app
cmp -s -n "$(stat -c %s lena.before)" lena.before "$class/Lena/$own_file" || fail "the torn sheet was changed"
[ "$(tail -c +$(($(stat -c %s lena.before) + 1)) "$class/Lena/$own_file" | head -c 2 | od -An -c | tr -d ' ')" = '\r\n' ] ||
  fail "the next run's rows were joined to the torn row"
# A SIGTERM, as a logout sends, keeps the question on the screen as ストップ.
stops=$(rows_in Lena ストップ)
launch --records-dir="$class" --name=Lena --level=easy --start
sleep 2
kill -TERM "$app_pid"
wait "$app_pid" || fail "SIGTERM: exit status $?"
app_pid=""
[ "$(rows_in Lena ストップ)" -gt "$stops" ] || fail "SIGTERM lost the question on the screen"
for child in Mio Sora; do
  launch --records-dir="$class" --name=$child
  wait_for 10 grep -q "is a link or not a plain file" "$work/err" || fail "$child: no message: $(cat "$work/err")"
  quit_app
done
# A name in two forms: the input method's wide space and a composed が, an ordinary space and
# か with a separate mark. One child, one folder.
for name in "$(printf 'が\xe3\x80\x80く')" "$(printf 'か\xe3\x82\x99 く')"; do
  launch --records-dir="$class" --name="$name"
  quit_app
done
[ "$(ls "$class" | grep -c く)" = 1 ] || fail "a name in two forms made two folders: $(ls "$class")"
"$fizmo" --report=class.pdf "$class" 2>class.err || fail "--report on the class: $(cat class.err)"
grep -q ユイ class.err && fail "the sheet a spreadsheet saved was not read: $(cat class.err)"
grep -q "^fizmo: Lena: 読めなかった行 1・" class.err || fail "not only the torn row is skipped: $(cat class.err)"
pdftotext class.pdf - | grep -q "^2026-12-03" || fail "no day of ユイ's sheet in the PDF"
[ "$(folder_state "$class/Mio"; folder_state "$class/Sora"; folder_state "$class/ユイ"; md5sum elsewhere.txt)" = "$kept" ] ||
  fail "a link, a FIFO or a saved sheet was changed"
echo "PASS"
