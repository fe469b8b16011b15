#!/usr/bin/env bash
# Installing into a fresh prefix puts the program, its desktop entry, its icon and the
# sample problems where the entry's working folder finds them as Mondai.dat.
# Usage: bash desktop_install.sh <fizmo binary> <source dir> <build dir>
set -uo pipefail
src=$(realpath "$2")
build=$(realpath "$3")
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install failed"
[ -x "$prefix/games/fizmo" ] || fail "no program in games/"
desktop="$prefix/share/applications/fizmo.desktop"
[ -f "$desktop" ] || fail "no desktop entry"
[ -f "$prefix/share/icons/hicolor/32x32/apps/fizmo.png" ] || fail "no icon"
grep -qx "Name\[ja\]=フィズモ" "$desktop" || fail "no Japanese name"
grep -qx "Icon=fizmo" "$desktop" || fail "the entry does not name the icon"
grep -qx "Exec=$prefix/games/fizmo" "$desktop" || fail "the entry does not start the installed program"
grep -q "^Categories=.*Education;.*Game;" "$desktop" || fail "categories missing"
workdir=$(sed -n 's/^Path=//p' "$desktop")
[ "$workdir" = "$prefix/share/fizmo" ] || fail "working folder is '$workdir'"
cmp -s "$workdir/Mondai.dat" "$src/res/Mondai.dat" || fail "no sample Mondai.dat in the working folder"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate"
fi
"$prefix/games/fizmo" --version | grep -q "2\.0" || fail "the installed program does not run"
# The launcher's actions open straight into a drill: the program takes their arguments.
actions=$(sed -n '/^\[Desktop Action/,$ s/^Exec=//p' "$desktop")
[ "$(grep -c . <<<"$actions")" = 5 ] || fail "the entry has no five actions"
while read -r action; do
  $action --version >/dev/null || fail "the program refuses the action '$action'"
done <<<"$actions"
echo PASS
