#!/usr/bin/env bash
# The real program's sound through the sound servers families have, PulseAudio and PipeWire,
# on a busy machine: a server of the test's own with a null sink, whose monitor is recorded
# while the demo plays beside a defined competing load. The recording must start with the
# music, hold every firing, right-answer and wrong-answer sound the game played, and have no
# silence the music does not have nor a jump in it (an output block that came too late or was
# dropped) unless the machine itself stalled then.
# Usage: bash sound_server.sh <fizmo binary> <source dir> <build dir> [pulseaudio|pipewire]
set -uo pipefail
if [ $# -lt 4 ]; then
  bash "$0" "$@" pulseaudio && bash "$0" "$@" pipewire && echo PASS
  exit
fi
server=$4
. "$(dirname "$0")/x11_harness.bash"
seconds=${FIZMO_RECORD_SECONDS:-20}

start_xvfb 441 500 || fail "no Xvfb display could be started"
start_load
start_sound_server "$server" || fail "$server did not start: $(tail -n 5 "$work/sound-server.log")"
cd "$work" || exit 1
printf 'a\nb\nc\n12\n' >Mondai.dat
start_recording recording.raw
# The driver SDL picks by itself on such a desktop.
env -u SDL_AUDIODRIVER FIZMO_TRACE_SOUNDS=1 "$fizmo" --demo >out 2>err &
app_pid=$!
sleep "$seconds"
alive || fail "$server: the program ended while it played"
stop_recording
stop_app
# Each server through its own driver: PipeWire's where its PulseAudio layer runs.
driver=$(awk '$1 == "driver" { print $2 }' out)
echo "$server: SDL's driver $driver"
[ "$driver" = "$server" ] || fail "$server: the sound went through SDL's $driver driver"
# A dropout while a real-time thread on the same machine ran a block or more late is the
# machine's: no output could hold then.
# On a failure the server's own word on who was late (PipeWire names the node) comes with it.
"$build/tests/fizmo_recording_check" recording.raw out "$work/stalls" || {
  grep -iE 'slow|xrun|underrun|missed' "$work/sound-server.log" | tail -n 5 | sed 's/^/  server: /' >&2
  fail "$server: the recording is wrong"
}
