#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite headless.
# FIZMO_QUICK=1 skips the sanitizer and fuzzing passes;
# FIZMO_LONG=1 runs the long soak and fuzz campaigns.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
fizmo_install_missing $FIZMO_RUN_PACKAGES $FIZMO_TEST_PACKAGES

export QT_QPA_PLATFORM=offscreen
export SDL_AUDIODRIVER=dummy
jobs=$(nproc)
if [ "${FIZMO_LONG:-0}" = 1 ]; then
  export FIZMO_SOAK_TICKS=100000  # about three hours of play
fi

echo "== build and test (Release, as the package is built; warnings are errors)"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DFIZMO_WERROR=ON >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

echo "== Debian package: cpack, lintian, contents, desktop entry, metainfo, the packaged program"
bash tests/package/check.sh build

[ "${FIZMO_QUICK:-0}" = 1 ] && exit 0

echo "== valgrind memcheck of the game logic, sound and resources"
# The widget and generator tests are left to the sanitizer pass: Qt's own start-up dominates
# them. A short soak is enough here: it walks the same paths as the long one, 50 times slower.
FIZMO_SOAK_TICKS=1000 valgrind --tool=memcheck --error-exitcode=1 --leak-check=full \
  --errors-for-leak-kinds=definite --num-callers=30 --quiet \
  build/tests/fizmo_logic_tests --gtest_brief=1

echo "== build and test with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DFIZMO_SANITIZE=ON -DFIZMO_WERROR=ON -DFIZMO_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  LSAN_OPTIONS=suppressions="$PWD/tests/lsan_suppressions.txt" \
  ctest --test-dir build-asan --output-on-failure -j"$jobs" --label-exclude "timing|long"

echo "== fuzz"
seconds=${FIZMO_FUZZ_SECONDS:-30}
[ "${FIZMO_LONG:-0}" = 1 ] && seconds=600
CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFIZMO_FUZZ=ON >/dev/null
cmake --build build-fuzz -j"$jobs"
# Findings go to a folder outside the checkout, printed when there are any.
artifacts=$(mktemp -d)
for fuzzer in build-fuzz/tests/fuzz/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  name=$(basename "$fuzzer")
  corpus=tests/fuzz/corpus/${name#fuzz_}
  work=$(mktemp -d)
  [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/
  echo "-- $name for ${seconds}s"
  if ! "$fuzzer" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$artifacts/" \
    "$work" >"$artifacts/$name.log" 2>&1; then
    tail -n 40 "$artifacts/$name.log"
    echo "$name found a fault; its input is kept in $artifacts:"
    ls -l "$artifacts"
    exit 1
  fi
  tail -n 3 "$artifacts/$name.log"
  rm -rf "$work" "$artifacts/$name.log"
done
# Slow inputs do not fail the run, but they are worth a look.
if [ -n "$(ls -A "$artifacts")" ]; then
  echo "the fuzzers left inputs in $artifacts:"
  ls -l "$artifacts"
else
  rm -rf "$artifacts"
fi
echo "== all tests passed"
