#!/usr/bin/env bash
# The real program's sound through a real sound server: a PulseAudio daemon of the test's own
# with a null sink, whose monitor is recorded while the demo plays. The recording must start
# with the music, hold every firing, right-answer and wrong-answer sound the game played, and
# have no silence the music does not have (an output block that came too late).
# Usage: bash sound_server.sh <fizmo binary> <source dir> <build dir>
set -uo pipefail
. "$(dirname "$0")/x11_harness.bash"
seconds=${FIZMO_RECORD_SECONDS:-20}

start_xvfb 441 500 || fail "no Xvfb display could be started"
start_pulse || fail "the sound server did not start: $(tail -n 5 "$work/pulse.log")"
cd "$work" || exit 1
printf 'a\nb\nc\n12\n' >Mondai.dat
start_recording recording.raw
SDL_AUDIODRIVER=pulseaudio FIZMO_TRACE_SOUNDS=1 "$fizmo" --demo >out 2>err &
app_pid=$!
sleep "$seconds"
alive || fail "the program ended while it played"
stop_recording
stop_app
"$build/tests/fizmo_recording_check" recording.raw out || fail "the recording is wrong"
echo PASS
