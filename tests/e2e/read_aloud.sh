#!/usr/bin/env bash
# よみあげ as a family meets it. Bad inputs first: no Open JTalk (the item greyed with its tip,
# one line on stderr), a damaged voice (one line, play goes on), a synthesiser that hangs
# (stopped, reaped, play goes on). Then the year-1 problems played by the demo with the test
# voice through a sound server of the test's own: each problem is read as it appears, and the
# recording holds the speech over the music, lowered under it. Its private folder is gone when
# the program ends; one a killed program left is swept at the next start. Started again, the
# first problem comes from the cache at once, and the music comes back after it.
# Usage: bash read_aloud.sh <fizmo binary> <source dir> <build dir>
set -uo pipefail
. "$(dirname "$0")/x11_harness.bash"
src=$(realpath "$2")
voice=${FIZMO_TEST_VOICE:-$src/../shared/voices/mei_normal.htsvoice}
if [ ! -f "$voice" ] || ! command -v open_jtalk >/dev/null; then
  echo "SKIP: no test voice ($voice) or no open_jtalk: read-aloud not tested"
  exit 0
fi
voice=$(realpath "$voice")
year1="$src/res/problems/year1.txt"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
start_xvfb 452 500 || fail "no Xvfb display could be started"
cd "$work" || exit 1
printf 'a\nb\nc\n12\n' >Mondai.dat

# The program started with a PATH of its own; the test's tools keep theirs.
with_path() {
  printf '#!/bin/sh\nPATH="%s" exec "%s" "$@"\n' "$1" "$fizmo" >"$work/with-path"
  chmod +x "$work/with-path"
}

# No open_jtalk on PATH.
mkdir empty
with_path "$work/empty"
fizmo="$work/with-path" launch --read-aloud --voice="$voice" --word-problems="$year1" --demo
grep -q "^item	よみあげ	32820	greyed: .*open-jtalk" out || fail "the item is not greyed with its tip: $(grep よみあげ out)"
sleep 2
alive || fail "no open_jtalk: the program ended"
[ "$(grep -c 'read-aloud' err)" = 1 ] || fail "no open_jtalk: not one line on stderr: $(cat err)"
stop_app
echo "no open_jtalk: greyed, $(grep read-aloud err)"

# A damaged voice.
head -c 4096 /dev/urandom >damaged.htsvoice
launch --read-aloud --voice="$work/damaged.htsvoice" --word-problems="$year1" --demo
sleep 2
alive || fail "damaged voice: the program ended"
[ "$(grep -c 'read-aloud' err)" = 1 ] || fail "damaged voice: not one line on stderr: $(cat err)"
stop_app
echo "damaged voice: $(grep read-aloud err)"

# A synthesiser that hangs: stopped after its time, reaped, and play goes on.
mkdir hang
printf '#!/bin/sh\nsleep 60\n' >hang/open_jtalk
chmod +x hang/open_jtalk
with_path "$work/hang:$PATH"
fizmo="$work/with-path" FIZMO_SPEECH_TIMEOUT_MS=1000 FIZMO_TRACE_SOUNDS=1 launch --read-aloud --voice="$voice" --word-problems="$year1" --demo
wait_for 20 grep -q "took too long" err || fail "the hanging synthesiser was not stopped: $(cat err)"
sleep 2
alive || fail "hanging synthesiser: the program ended"
zombies=$(ps -o stat= --ppid "$app_pid" | grep -c Z)  # the wrapper exec'd the program
[ "$zombies" = 0 ] || fail "hanging synthesiser: $zombies zombie processes"
grep -q "^sound speech" out && fail "a hanging synthesiser was heard"
stop_app
echo "hanging synthesiser: $(grep 'took too long' err), no zombie"

# A program killed outright leaves its private folder; the next start removes it, and keeps the
# folder of one still running. That next one's cache folder cannot be made: it says so once and
# reads on.
speaking() {
  XDG_CACHE_HOME=$1 FIZMO_TRACE_SOUNDS=1 "$fizmo" --demo --no-records --read-aloud \
    --voice="$voice" --word-problems="$year1" >"$work/$2.out" 2>"$work/$2.err" &
}
folder_of() { ls -d "$XDG_RUNTIME_DIR/fizmo-speech-$1-"* 2>/dev/null; }
speaking "$work/sweep-cache" live
live=$!
server_pids+=("$live")
speaking "$work/sweep-cache" killed
killed=$!
wait_for 30 folder_of "$live" >/dev/null && wait_for 30 folder_of "$killed" >/dev/null ||
  fail "no private speech folder for each program"
stale=$(folder_of "$killed")
kill -KILL "$killed"
wait "$killed" 2>/dev/null
# Its synthesiser, in a process group of its own, ends by itself.
wait_for 30 bash -c "! pgrep -f -- '$stale' >/dev/null"
[ -d "$stale" ] || fail "the killed program's folder went before the next start"
: >not-a-folder
speaking "$work/not-a-folder/cache" next
app_pid=$!
wait_for 30 folder_of "$app_pid" >/dev/null || fail "no private speech folder for the next start"
[ -d "$stale" ] && fail "the folder of a killed program was not removed"
folder_of "$live" >/dev/null || fail "the folder of a running program was removed"
wait_for 60 grep -q "cannot keep" next.err || fail "an unwritable cache was not told: $(cat next.err)"
wait_for 30 grep -q "^sound speech" next.out || fail "no reading without a cache"
alive || fail "without a cache: the program ended"
[ "$(grep -c 'read-aloud' next.err)" = 1 ] || fail "without a cache: not one line: $(cat next.err)"
stop_app
kill "$live"
echo "a killed program's folder swept, a running one's kept; without a cache: $(cat next.err)"

# The year-1 problems read aloud, recorded, the first time: each is made by Open JTalk, and kept
# in the cache.
start_sound_server pulseaudio || fail "pulseaudio did not start: $(tail -n 5 "$work/sound-server.log")"
start_recording recording.raw
env -u SDL_AUDIODRIVER FIZMO_TRACE_SOUNDS=1 "$fizmo" --demo --no-records --read-aloud \
  --voice="$voice" --word-problems="$year1" >out 2>err &
app_pid=$!
sleep 5
ls -d "$XDG_RUNTIME_DIR"/fizmo-speech-* >/dev/null 2>&1 || fail "no private folder for speech"
[ "$(stat -c %a "$XDG_RUNTIME_DIR"/fizmo-speech-*)" = 700 ] || fail "the speech folder is not private"
problems=$(awk 'NR % 4 == 0' "$year1" | wc -l)
wait_for 400 bash -c "[ \$(grep -c '^say question' out) -ge $problems ]" ||
  fail "only $(grep -c '^say question' out) of $problems problems were asked"
sleep 6
stop_recording
alive || fail "the program ended while it read aloud"
kill -TERM "$app_pid"; wait "$app_pid"; app_pid=""
ls -d "$XDG_RUNTIME_DIR"/fizmo-speech-* >/dev/null 2>&1 && fail "the private speech folder outlived the program"
# Each problem is heard, made while the one before was on the screen. How soon is told, not
# judged: the bench measures it, and a test's timing is the machine's. The first one appears
# as the program starts, before anything could be made ahead.
awk '$1 == "say" { asked = $3; n++ }
     $1 == "sound" && $2 == "speech" && asked { d = $3 - asked; asked = 0
       if (n == 1) { printf "the first problem, at launch, was heard after %d ms\n", d; next }
       heard++; if (d > worst) worst = d; if (d <= 300) soon++; else printf "problem %d: %d ms\n", n, d }
     END { printf "%d more asked, %d heard, %d within 300 ms, the slowest after %d ms\n", n - 1, heard, soon, worst
           exit !(n > 1 && heard == n - 1) }' out || fail "a problem was not read aloud"
"$build/tests/fizmo_recording_check" --speech recording.raw out || fail "the recording is wrong"
first_from() { awk '$1 == "from" { print $2; exit }' out; }
[ "$(first_from)" = synthesis ] || fail "the first reading, never made before, came from: $(first_from)"
cache="$XDG_CACHE_HOME/Fizmo/speech"
[ "$(stat -c %a "$cache")" = 700 ] || fail "the speech cache is not private"
[ "$(find "$cache" -type f ! -perm 600 | wc -l)" = 0 ] || fail "a cached reading is not private"

# Started again and left alone: the first problem is read from the cache, then the music goes on
# by itself at full level until the child answers.
start_recording again.raw
env -u SDL_AUDIODRIVER FIZMO_TRACE_SOUNDS=1 "$fizmo" --start --no-records --read-aloud \
  --voice="$voice" --word-problems="$year1" >out 2>err &
app_pid=$!
wait_for 30 grep -q "^speech " out || fail "started again: the first problem was not read"
# Read sentence by sentence: until no sentence follows the last one for five seconds.
for _ in $(seq 20); do
  sentences=$(grep -c "^speech " out)
  sleep $(($(awk '$1 == "speech" { ms = $2 } END { print int(ms / 1000) }' out) + 5))
  [ "$(grep -c "^speech " out)" = "$sentences" ] && break
done
stop_recording
alive || fail "started again: the program ended"
stop_app
[ "$(first_from)" = cache ] || fail "started again: the first reading came from: $(first_from)"
"$build/tests/fizmo_recording_check" --speech-return again.raw out || fail "the music did not come back"
echo PASS
