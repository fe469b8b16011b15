#!/usr/bin/env bash
# Problem files that cannot be opened or hold nothing: a folder, a path through a regular
# file, an empty file. Each says so in a box or ends the word problems with CLEAR; the
# program keeps running and changes nothing on disk.
# Usage: bash bad_input_problem_files.sh <fizmo binary> <source dir> <build dir>
set -uo pipefail
export SDL_AUDIODRIVER=dummy
. "$(dirname "$0")/x11_harness.bash"

start_xvfb 301 370 || fail "no Xvfb display could be started"

mkdir -p "$work/folder/Mondai.dat"
printf 'a\nb\nc\n12\n' >"$work/folder/Mondai.dat/Mondai.dat"
expect_unopenable folder

# An unreadable file cannot be made here: the tests may run as root, who reads anything.
# A path whose parent is a regular file fails to open with ENOTDIR, for anyone.
mkdir "$work/notdir"
printf 'a\nb\nc\n12\n' >"$work/notdir/file.txt"
ln -s file.txt/Mondai.dat "$work/notdir/Mondai.dat"
expect_unopenable notdir

for n in 1 2; do
  compare -metric AE "$work/box_folder_1.png" "$work/box_notdir_$n.png" null: 2>/dev/null ||
    fail "the boxes of the two failures differ"
done

# Empty: opens, so no box; the word problems end at once.
mkdir "$work/empty" && cd "$work/empty" || exit 1
: >Mondai.dat
before=$(folder_state .)
launch
sleep 1
start_word_problems
wait_for 15 problems_done_shown || fail "empty: no CLEAR"
[ "$(box_count "Fizmo")" = 0 ] || fail "empty: a box for a file that opened"
alive || fail "empty: the program ended"
quit_app
[ "$(folder_state .)" = "$before" ] || fail "empty: the folder changed"
echo "PASS"
