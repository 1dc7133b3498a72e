#!/usr/bin/env bash
# Installs what is needed, then builds and runs the whole test suite twice:
# a normal build (build/) and an ASan+UBSan build (build-asan/); the threaded
# suites (transport, engine, player, sound devices) also run under
# ThreadSanitizer (build-tsan/), and the fuzz corpora are replayed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
jobs=$(nproc)

# The tree keeps one code style.
bash scripts/format.sh --check

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

# The threaded suites under ThreadSanitizer: only their binaries are built,
# and only their tests run (the rest of the suite is single-threaded).
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTINTO_TSAN=ON
cmake --build build-tsan -j "$jobs" --target test_audio test_platform test_music
tsan_suites='Transport*:TransportStop*:PlayerClient*:Engine*:Playing*:WaveOutput*:FileOutput*'
tsan_suites+=':PlaySoundTest*:WaveOutTest*:*WaveOutConversion*:SoundWaveFile*'
tsan_suites+=':MusicPlayerTest*:MusicPlayerWithEngine*'
tsan_start=$SECONDS
for suite in test_audio test_platform test_music; do
  # Run where CTest would, with what CTest would give them.
  (cd build-tsan/tests &&
    TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/../../scripts/tsan.supp" \
    ./$suite --gtest_filter="$tsan_suites" --gtest_brief=1)
done
echo "ThreadSanitizer suites: $((SECONDS - tsan_start)) s"

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTINTO_SANITIZE=ON
cmake --build build-asan -j "$jobs"
# Leaks are checked by default; a binary may turn that off for itself (the
# SDL tests do: the display libraries keep allocations for the whole run).
# The real-time tests (label realtime: live streams played for 20 s each)
# measure timing, not memory; they run once, in the normal build.
UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs" -LE realtime
