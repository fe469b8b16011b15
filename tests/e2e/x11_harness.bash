# Sourced by the end-to-end tests of the window: an Xvfb display of their own, screenshots, the
# menu, message boxes, and cleanup. Sourced with the test's own arguments:
# <fizmo binary> <source dir> <build dir>.
fizmo=$(realpath "$1")
build=$(realpath "$3")
unset QT_QPA_PLATFORM # a real X display
work=$(mktemp -d)
# Records a game keeps, choices it remembers and speech it caches go to the test's own folders,
# never the user's: a remembered name or 段 must not change another test's game.
export XDG_DATA_HOME="$work/xdg-data" XDG_CONFIG_HOME="$work/xdg-config" XDG_CACHE_HOME="$work/xdg-cache"
app_pid=""
xvfb_pid=""
server_pids=() # sound server, window manager: started by the script, ended by their ids

fail() {
  echo "FAIL: $*" >&2
  [ -s "$work/err" ] && sed 's/^/  fizmo: /' "$work/err" >&2
  exit 1
}
stop_app() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null
  app_pid=""
}
cleanup() {
  stop_app
  for pid in "${server_pids[@]}"; do kill "$pid" 2>/dev/null; done
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

# An Xvfb on the first free display number from $1 to $2, with a screen of $3 (1280x1024
# by default).
start_xvfb() {
  local size=${3:-1280x1024}
  for n in $(seq "$1" "$2"); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    # -noreset: a reset after each client that leaves would refuse the next one a while.
    Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
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

# A sound server of our own, $1 = pulseaudio (the default) or pipewire (with its PulseAudio
# layer and session manager, as GNOME has it), in a runtime folder under $work, whose only
# output is a null sink "game" at the game's rate; its monitor can be recorded. Programs
# started later use it. Its log is $work/sound-server.log.
start_sound_server() {
  export XDG_RUNTIME_DIR="$work/sound-runtime"
  mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
  export PULSE_SERVER="unix:$XDG_RUNTIME_DIR/pulse/native"
  local log="$work/sound-server.log" sink="sink_name=game rate=22050 channels=2"
  if [ "${1:-pulseaudio}" = pipewire ]; then
    # The session manager needs a session bus; a bus of our own keeps the user's out.
    export DBUS_SESSION_BUS_ADDRESS="unix:path=$XDG_RUNTIME_DIR/bus"
    dbus-daemon --session --address="$DBUS_SESSION_BUS_ADDRESS" --nofork --nopidfile >>"$log" 2>&1 &
    server_pids+=($!)
    wait_for 5 test -S "$XDG_RUNTIME_DIR/bus" || return 1
    # The graph at the game's rate, so the stream reaches the sink without resampling.
    mkdir -p "$XDG_RUNTIME_DIR/.config/pipewire/pipewire.conf.d"
    echo 'context.properties = { default.clock.rate = 22050 default.clock.allowed-rates = [ 22050 ] }' \
      >"$XDG_RUNTIME_DIR/.config/pipewire/pipewire.conf.d/rate.conf"
    HOME="$XDG_RUNTIME_DIR" pipewire >>"$log" 2>&1 &
    server_pids+=($!)
    wait_for 5 test -S "$XDG_RUNTIME_DIR/pipewire-0" || return 1
    for daemon in wireplumber pipewire-pulse; do
      HOME="$XDG_RUNTIME_DIR" "$daemon" >>"$log" 2>&1 &
      server_pids+=($!)
    done
    wait_for 10 pactl info >/dev/null 2>&1 &&
      pactl load-module module-null-sink "$sink" >/dev/null &&
      wait_for 10 pactl set-default-sink game 2>/dev/null
  else
    HOME="$XDG_RUNTIME_DIR" PULSE_RUNTIME_PATH="$XDG_RUNTIME_DIR/pulse" pulseaudio -n \
      --daemonize=no --exit-idle-time=-1 --use-pid-file=no --enable-memfd=no \
      --log-target=stderr -F /dev/null --load="module-null-sink $sink" \
      --load="module-native-protocol-unix auth-anonymous=1" 2>"$log" &
    server_pids+=($!)
    wait_for 10 pactl info >/dev/null 2>&1
  fi
}
# Records what the sink plays, raw 16-bit stereo at the game's rate, into $work/$1.
start_recording() {
  parec -d game.monitor --latency-msec=50 --format=s16le --rate=22050 --channels=2 --raw \
    >"$work/$1" &
  recorder_pid=$!
  server_pids+=("$recorder_pid")
  # The recorder delivers its first data about two seconds after it starts; the game's first
  # sound must come later, or the recording misses its start.
  wait_for 20 test -s "$work/$1"
}
stop_recording() {
  kill "$recorder_pid" 2>/dev/null
  wait "$recorder_pid" 2>/dev/null
}
# Openbox on the display, as a family's desktop has some window manager.
start_wm() {
  openbox --config-file /dev/null >/dev/null 2>&1 &
  server_pids+=($!)
  wait_for 10 bash -c 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"'
}

# Starts the program with arguments "$@" in the current folder with the menu dump, and
# waits for its window.
launch() {
  FIZMO_DUMP_MENU=1 "$fizmo" "$@" >"$work/out" 2>"$work/err" &
  app_pid=$!
  wait_for 30 window_named "フィズモ" >/dev/null || fail "the window did not appear"
  wait_for 10 grep -q "^end of menu" "$work/out" || fail "no menu dump"
}
alive() { kill -0 "$app_pid" 2>/dev/null; }
# Ends the program from its menu, as a player would; it must exit with status 0, which a
# sanitizer build also checks for leaks.
quit_app() {
  for _ in 1 2 3; do
    choose "ﾌｧｲﾙ(&F)" 4
    wait_for 20 bash -c "! kill -0 $app_pid 2>/dev/null" && break
    # On a loaded machine a key can reach the game before the popup holds the keyboard, and
    # the choice lands elsewhere; Escape closes whatever it opened.
    xdotool key Escape
  done
  alive && fail "the program did not exit"
  wait "$app_pid"
  local status=$?
  app_pid=""
  [ "$status" = 0 ] || fail "exit status $status"
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
# Whether the picture changes within $1 seconds (1 by default), in region $2 if given.
moving() {
  shot m1
  sleep "${1:-1}"
  shot m2
  [ "$(pixels_differing m1 m2 ${2:+"$2"})" != 0 ]
}

# A visible window whose caption matches the regular expression in full.
window_named() {
  local id
  id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
  [ -n "$id" ] && echo "$id"
}
box_count() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | wc -l; }
# Saves the picture of the box captioned $1 as $work/$2.png.
box_picture() {
  local id x y w h
  id=$(window_named "$1") || return 1
  eval "$(xdotool getwindowgeometry --shell "$id")"
  x=$X y=$Y w=$WIDTH h=$HEIGHT
  shot screen
  convert "$work/screen.png" -crop "${w}x${h}+$x+$y" +repage "$work/$2.png"
}
# Whether the box captioned $1 has a line of dark text above its button. (The box's text
# cannot be read back on X11; its caption says which failure it is.)
box_has_text() {
  local dark
  box_picture "$1" box || return 1
  dark=$(convert "$work/box.png" -gravity north -crop 100%x45%+0+0 +repage \
    -colorspace gray -threshold 40% -negate -format "%[fx:mean*w*h]" info:)
  [ "${dark%.*}" -gt 40 ]
}
# Closes the box captioned $1 with Return.
close_box() {
  local id
  id=$(window_named "$1") || fail "no box '$1' to close"
  xdotool windowfocus --sync "$id" 2>/dev/null
  xdotool key Return
  wait_for 5 bash -c "[ -z \"\$(xdotool search --onlyvisible --name '^$1\$' 2>/dev/null)\" ]" ||
    fail "the box '$1' did not close on Return"
}
# Names, sizes, modes, times of change and contents of everything under folder $1.
folder_state() {
  (cd "$1" && find . -printf '%p %y %s %m %T@\n' | LC_ALL=C sort &&
    find . -type f -exec md5sum {} + | LC_ALL=C sort)
}

# The view's place on the screen, from the menu dump: sets vx, vy, vw and vh.
read_view_box() {
  read -r _ vx vy _ vw vh <<<"$(awk -F'\t' '$1 == "view" { print $2 }' "$work/out")"
}
menu_position() { awk -F'\t' -v t="$1" '$1 == "menu" && $2 == t { sub("at ", "", $3); print $3 }' "$work/out"; }
# A popup changed the place under the title and stands still there: during play the game
# itself changes it, and keys meant for a menu would go to the game.
popup_open() {
  local inside="60x30+$(($1 - 10))+$(($2 + 16))"
  shot with_menu
  sleep 0.2
  shot with_menu_still
  [ "$(pixels_differing before_menu with_menu "200x60+$(($1 - 40))+$(($2 + 12))")" != 0 ] &&
    [ "$(pixels_differing with_menu with_menu_still "$inside")" = 0 ]
}
# Opens the menu whose title is at $1,$2 by clicking it; fails when no popup shows.
open_menu() {
  shot before_menu
  xdotool mousemove "$1" "$2" click 1
  # Long enough for a held end-of-play pause to end first.
  wait_for 8 popup_open "$1" "$2"
}
# Opens a menu by clicking its title and chooses the item `downs` places down.
choose() {
  local title=$1 downs=$2 x y
  read -r x y <<<"$(menu_position "$title")"
  [ -n "$x" ] || fail "no menu '$title' in the menu dump"
  for _ in 1 2 3; do
    if open_menu "$x" "$y"; then
      for ((d = 0; d < downs; d++)); do xdotool key Down; done
      xdotool key Return
      sleep 0.3
      return 0
    fi
    xdotool key Escape
  done
  fail "menu '$title' does not open"
}

# Whether "CLEAR", the end of the word problems, stands in cyan in the window's middle.
problems_done_shown() {
  local pixels
  shot now
  pixels=$(convert "$work/now.png" -crop "1000x200+140+412" +repage \
    -fill black +opaque "#00FFFF" -fill white -opaque "#00FFFF" -format "%[fx:mean*w*h]" info:)
  [ "${pixels%.*}" -gt 300 ]
}
# Word problems chosen from the menu, and play started.
start_word_problems() {
  choose "計算の種類" 5 # after 九九, たしざん, ひきざん and わりざん
  choose "スタート・ストップ" 1
}
# A problem file that cannot be opened, in folder $1: the box at start-up and again at
# スタート, play going on behind it, then the end of the word problems; nothing in the
# folder changes. Each box's picture is kept as $work/box_<folder>_<n>.png.
expect_unopenable() {
  local folder=$1 before
  cd "$work/$folder" || fail "no folder $folder"
  before=$(folder_state .)
  launch
  wait_for 10 window_named "Fizmo" >/dev/null || fail "$folder: no box at start-up"
  box_has_text "Fizmo" || fail "$folder: the box shows no text"
  box_picture "Fizmo" "box_${folder}_1"
  close_box "Fizmo"
  start_word_problems
  wait_for 10 window_named "Fizmo" >/dev/null || fail "$folder: no box at スタート"
  moving || fail "$folder: play does not go on behind the box"
  box_picture "Fizmo" "box_${folder}_2"
  close_box "Fizmo"
  wait_for 15 problems_done_shown || fail "$folder: no CLEAR after the failed open"
  alive || fail "$folder: the program ended"
  [ "$(box_count "Fizmo")" = 0 ] || fail "$folder: another box"
  quit_app
  [ "$(folder_state .)" = "$before" ] || fail "$folder: the folder changed"
  cd "$work" || exit 1
}

# A defined competing load, heavier than a busy family computer's: another copy of the game
# composing 2560 x 1440 at Qt scale 2 on a display of its own, and three busy loops per core.
# The display the test uses stays the current one. Beside it, $work/stalls lists the moments
# the machine itself stalled (the virtual machine the tests run on does now and then).
start_load() {
  "$build/tests/fizmo_stall_probe" >"$work/stalls" &
  server_pids+=($!)
  local own=$DISPLAY own_xvfb=$xvfb_pid
  start_xvfb 600 660 2560x1440 || fail "no Xvfb display for the load"
  server_pids+=("$xvfb_pid")
  (cd "$work" && SDL_AUDIODRIVER=dummy QT_SCALE_FACTOR=2 exec "$fizmo" --demo >/dev/null 2>&1) &
  server_pids+=($!)
  for _ in $(seq $((3 * $(nproc)))); do
    yes >/dev/null &
    server_pids+=($!)
  done
  export DISPLAY=$own
  xvfb_pid=$own_xvfb
}

# A headless Weston of the test's own with a $1 output (1366x768 by default), drawn in memory
# so that screenshots show it. --debug lets weston-screenshooter take them. A white desktop
# without panel or animations: whatever the game leaves uncovered shows as a plain light colour.
start_weston() {
  local size=${1:-1366x768} runtime="$work/wayland-runtime"
  mkdir -p "$runtime" && chmod 700 "$runtime"
  printf '%s\n' '[core]' 'idle-time=0' '[shell]' 'background-color=0xffffffff' \
    'panel-position=none' 'locking=false' 'startup-animation=none' 'animation=none' \
    'close-animation=none' >"$work/weston.ini"
  XDG_RUNTIME_DIR="$runtime" weston --backend=headless-backend.so --use-pixman \
    --width="${size%x*}" --height="${size#*x}" --socket=wayland-test --config="$work/weston.ini" \
    --debug --log="$work/weston.log" >/dev/null 2>&1 &
  server_pids+=($!)
  # A full path: it stays right when XDG_RUNTIME_DIR changes later, e.g. for the sound server.
  export XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$runtime/wayland-test"
  wait_for 10 test -S "$WAYLAND_DISPLAY"
}
