#!/usr/bin/env bash
# Makes the Debian package from a built tree and checks it as a distribution would: lintian,
# the files it holds, its desktop entry and software-centre metadata, and the packaged program
# run from the unpacked package on the packaged sample problems.
# Usage: bash check.sh <build dir>
set -uo pipefail
build=$(realpath "$1")
fail() { echo "FAIL: $*" >&2; exit 1; }

cached() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
version=$(cached CMAKE_PROJECT_VERSION)
metainfo=usr/share/metainfo/$(cached FIZMO_APP_ID).metainfo.xml
rm -f "$build"/fizmo_*.deb
log=$(cd "$build" && cpack -G DEB 2>&1) || fail "cpack: $log"
deb=$(echo "$build"/fizmo_"$version"_*.deb)
[ -f "$deb" ] || fail "no fizmo_${version}_<arch>.deb in $build"
echo "package: $(basename "$deb")"

tags=$(lintian --pedantic --fail-on error "$deb" 2>&1) || fail "lintian: $tags"
grep -v 'root privileges' <<<"$tags"  # what lintian accepts is still shown

contents=$(dpkg-deb --contents "$deb" | awk '{print $6}')
for size in 32 48 64 128 256; do icons+=" usr/share/icons/hicolor/${size}x$size/apps/fizmo.png"; done
for file in usr/games/fizmo usr/share/applications/fizmo.desktop usr/share/fizmo/Mondai.dat \
    usr/share/fizmo/problems/year1.txt usr/share/fizmo/problems/year3.txt \
    $metainfo usr/share/man/man6/fizmo.6.gz usr/share/man/ja/man6/fizmo.6.gz \
    usr/share/doc/fizmo/copyright $icons; do
  grep -qx "\./$file" <<<"$contents" || fail "the package lacks /$file"
done
control=$(dpkg-deb --field "$deb" Section Depends Recommends)
grep -qx "Section: games" <<<"$control" || fail "not in section games"
grep -q "fonts-ipafont-gothic" <<<"$control" || fail "the fonts are not a dependency"
grep -q "libqt6widgets6" <<<"$control" || fail "library dependencies were not worked out"
grep -q "^Recommends:.*qt6-wayland" <<<"$control" || fail "qt6-wayland is not recommended"
grep -q "^Recommends:.*open-jtalk, open-jtalk-mecab-naist-jdic" <<<"$control" || fail "Open JTalk is not recommended"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
desktop="$root/usr/share/applications/fizmo.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$root/$metainfo" || fail "appstreamcli validate"
grep -qx "Exec=/usr/games/fizmo" "$desktop" || fail "the entry does not start the packaged program"
grep -qx "Path=/usr/share/fizmo" "$desktop" || fail "the entry does not start in the sample's folder"

"$root/usr/games/fizmo" --version | grep -q "Version $version" || fail "the packaged program's version"
"$root/usr/games/fizmo" --check-problems "$root/usr/share/fizmo/Mondai.dat" >/dev/null ||
  fail "the packaged sample problems do not pass the check"
echo PASS
