#!/usr/bin/env bash
# The command line answers --help and --version, and refuses anything else, without a
# display and without opening a window.
# Usage: bash shell_command_line.sh <fizmo binary> <source dir> <build dir>
set -uo pipefail
fizmo=$1
fail() { echo "FAIL: $*" >&2; exit 1; }

export -n DISPLAY WAYLAND_DISPLAY
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM

out=$(timeout 10 "$fizmo" --help) || fail "--help exited with $?"
grep -q -- "--demo" <<<"$out" || fail "--help does not mention --demo"
grep -q "使い方" <<<"$out" || fail "--help has no Japanese"
[ "$(wc -l <<<"$out")" -le 24 ] || fail "--help is longer than one screen"

out=$(timeout 10 "$fizmo" --version) || fail "--version exited with $?"
grep -q "2\.0" <<<"$out" || fail "--version does not say 2.0: $out"

for wrong in --nonsense -x Mondai.dat; do
  err=$(timeout 10 "$fizmo" "$wrong" 2>&1 >/dev/null)
  status=$?
  [ "$status" -ne 0 ] && [ "$status" -ne 124 ] || fail "$wrong: exit status $status"
  grep -q -- "$wrong" <<<"$err" || fail "$wrong: the message does not say what was wrong: $err"
  grep -q -- "--help" <<<"$err" || fail "$wrong: no hint to --help"
done
# Qt's own options are Qt's: with them the game runs (here on no screen) until stopped.
empty=$(mktemp -d)
(cd "$empty" && SDL_AUDIODRIVER=dummy timeout 4 "$fizmo" -platform offscreen -reverse \
  --style Fusion -qwindowgeometry 640x480 >/dev/null 2>&1)
status=$?
rm -rf "$empty"
[ "$status" -eq 124 ] || fail "Qt's options were refused: exit status $status"
# The problem-file checker runs without a display too: the sample is clean, a broken file
# is reported with exit status 1.
src=$2
out=$(timeout 10 "$fizmo" --check-problems "$src/res/Mondai.dat") || fail "checker on the sample: $?"
grep -q "Shift-JIS" <<<"$out" || fail "the checker does not name the encoding"
broken=$(mktemp)
printf 'a\nb\nc\nfive\n' >"$broken"
timeout 10 "$fizmo" --check-problems "$broken" >"$broken.out"
status=$?
rm -f "$broken"
grep -q "reads as 0" "$broken.out" || { rm -f "$broken.out"; fail "the checker missed a wrong answer"; }
rm -f "$broken.out"
[ "$status" -eq 1 ] || fail "checker on a broken file: exit status $status"
echo "PASS"
