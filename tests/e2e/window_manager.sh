#!/usr/bin/env bash
# The real program under a window manager (openbox), as on a family's desktop: the main
# window maximized with its caption; the About box and the file-name dialog in front of it,
# owned by it, centred on it, with a close button and no other; minimize and restore, the
# sound taking long blocks while minimized and short ones again after; and the window
# manager's close button ending the program with status 0. Qt shares no memory with the X
# server here, as on a remote display: frames composed in the window's store must still be
# sent to the screen.
# Usage: bash window_manager.sh <fizmo binary> <source dir> <build dir>
set -uo pipefail
export SDL_AUDIODRIVER=dummy FIZMO_TRACE_SOUNDS=1 QT_X11_NO_MITSHM=1
. "$(dirname "$0")/x11_harness.bash"

start_xvfb 371 440 || fail "no Xvfb display could be started"
start_wm || fail "openbox did not start"
cd "$work" || exit 1
printf 'a\nb\nc\n12\n' >Mondai.dat
launch
win=$(window_named "フィズモ")

net_state() { xprop -id "$1" _NET_WM_STATE; }
maximized() { net_state "$win" | grep -q MAXIMIZED_VERT && net_state "$win" | grep -q MAXIMIZED_HORZ; }
wait_for 5 maximized || fail "the main window is not maximized: $(net_state "$win")"
xprop -id "$win" _NET_WM_NAME | grep -q '"フィズモ"' || fail "the caption is not フィズモ"

# Centre of a window on the screen, from the geometry the window manager gave it.
centre() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  echo $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
}
# Dialog $1 (caption) opened from menu $2, item $3, its picture kept as wm_dialog_$4.png:
# owned by the main window and above it, centred on it, closable by the window manager,
# neither resizable nor asking to be minimized; play goes on after it is closed.
check_dialog() {
  local caption=$1 id top cx cy mx my actions functions
  choose "$2" "$3"
  wait_for 5 window_named "$caption" >/dev/null || fail "$caption did not open"
  id=$(window_named "$caption")
  xprop -id "$id" WM_TRANSIENT_FOR | grep -qi "$(printf '0x%x' "$win")" ||
    fail "$caption is not owned by the main window"
  top=$(xprop -root _NET_CLIENT_LIST_STACKING | awk '{ print $NF }')
  [ "$((top))" = "$id" ] || fail "$caption is not in front"
  read -r cx cy <<<"$(centre "$id")"
  read -r mx my <<<"$(centre "$win")"
  [ $((cx - mx)) -le 40 ] && [ $((mx - cx)) -le 40 ] && [ $((cy - my)) -le 40 ] &&
    [ $((my - cy)) -le 40 ] || fail "$caption at $cx,$cy is not centred on the window at $mx,$my"
  shot dialog
  mkdir -p "$build/e2e" && cp "$work/dialog.png" "$build/e2e/wm_dialog_$4.png"
  actions=$(xprop -id "$id" _NET_WM_ALLOWED_ACTIONS)
  grep -q _NET_WM_ACTION_CLOSE <<<"$actions" || fail "$caption has no close button"
  grep -Eq '_NET_WM_ACTION_(MAXIMIZE|RESIZE)' <<<"$actions" &&
    fail "$caption can be maximized or resized: $actions"
  # Openbox keeps a minimize button on every dialog whatever it asks; other window managers
  # follow the Motif functions, which must offer neither minimize (8) nor maximize (16).
  functions=$(xprop -id "$id" _MOTIF_WM_HINTS | awk -F'[=,] *' '{ print $3 }')
  [ $((functions & 0x19)) = 0 ] || fail "$caption asks for minimize or maximize ($functions)"
  wmctrl -i -c "$id"
  wait_for 5 bash -c "[ -z \"\$(xdotool search --onlyvisible --name '^$caption\$' 2>/dev/null)\" ]" ||
    fail "the window manager's close did not close $caption"
  alive || fail "closing $caption ended the program"
}

choose "スタート・ストップ" 1
check_dialog 'ﾊﾞｰｼﾞｮﾝ情報\(Zan\)' "ﾍﾙﾌﾟ(&H)" 1 about
check_dialog 'ﾀﾞｲｱﾛｸﾞ' "ﾌｧｲﾙ(&F)" 1 file_name
wait_for 5 moving 0.5 || fail "play does not go on after the dialogs"

# Minimize and restore. The sound's block is traced each time the output opens again.
last_block() { awk '$1 == "block" { b = $2 } END { print b }' "$work/out"; }
block_is() { [ "$(last_block)" = "$1" ]; }
xdotool windowminimize "$win"
wait_for 5 bash -c "xprop -id $win _NET_WM_STATE | grep -q HIDDEN" || fail "the window did not minimize"
wait_for 5 block_is 2048 || fail "minimized, the sound's blocks are not long: '$(last_block)'"
wmctrl -i -a "$win"
wait_for 5 bash -c "! xprop -id $win _NET_WM_STATE | grep -q HIDDEN" || fail "the window did not restore"
wait_for 5 block_is 256 || fail "restored, the sound's blocks are not short again: '$(last_block)'"
wait_for 5 maximized || fail "the window is not maximized after restoring"
wait_for 5 moving 0.5 || fail "play does not show after restoring"

# The window manager's close button: the program ends with status 0 and leaves nothing.
wmctrl -i -c "$win"
wait_for 20 bash -c "! kill -0 $app_pid 2>/dev/null" || fail "the program did not end on close"
wait "$app_pid"
status=$?
app_pid=""
[ "$status" = 0 ] || fail "exit status $status after the window manager's close"
echo PASS
