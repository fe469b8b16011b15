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

echo "== build and test (Release, warnings are errors)"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFIZMO_WERROR=ON >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

[ "${FIZMO_QUICK:-0}" = 1 ] && exit 0

echo "== build and test with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DFIZMO_SANITIZE=ON -DFIZMO_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs" -E '^e2e\.'

echo "== fuzz"
seconds=${FIZMO_FUZZ_SECONDS:-60}
[ "${FIZMO_LONG:-0}" = 1 ] && seconds=600
CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFIZMO_FUZZ=ON >/dev/null
cmake --build build-fuzz -j"$jobs"
for fuzzer in build-fuzz/tests/fuzz/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  name=$(basename "$fuzzer")
  corpus=tests/fuzz/corpus/${name#fuzz_}
  work=$(mktemp -d)
  [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/
  echo "-- $name for ${seconds}s"
  "$fuzzer" -max_total_time="$seconds" -print_final_stats=1 "$work" 2>&1 | tail -n 3
  rm -rf "$work"
done
echo "== all tests passed"
