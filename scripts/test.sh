#!/usr/bin/env bash
# Installs what is needed, then builds and runs the whole test suite twice:
# a normal build (build/) and an ASan+UBSan build (build-asan/); the threaded
# suites (transport, engine, player, sound devices) also run under
# ThreadSanitizer (build-tsan/), and the fuzz corpora are replayed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
jobs=$(nproc)

# The suite must leave the tree as it found it: what git sees now is
# compared with what it sees at the end.
tree_state() { git status --porcelain --untracked-files=all 2>/dev/null || true; }
tree_before=$(tree_state)

# The tree keeps one code style.
bash scripts/format.sh --check

# Line tables are all a test build needs for the sanitizers' reports and a
# debugger's backtrace; full debug information makes the builds a third
# slower.
lines_only=(-DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG"
            -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG")

# A real-window test can lose a race with its X server on a loaded machine:
# the cases that fail run once more, alone, after the rest. A fault fails
# both times; a case that passes the second time is named, not hidden.
run_ctest() {
  local dir=$1
  shift
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" "$@" && return 0
  echo "Failed cases, run again alone:"
  cat "$dir/Testing/Temporary/LastTestsFailed.log"
  ctest --test-dir "$dir" --output-on-failure --rerun-failed "$@"
}

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${lines_only[@]}"
cmake --build build -j "$jobs"
run_ctest build

# The threaded suites under ThreadSanitizer: only their binaries are built,
# and only their tests run (the rest of the suite is single-threaded).
# -O1, as ThreadSanitizer advises: as good at finding races, quicker to build.
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTINTO_TSAN=ON \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG"
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

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTINTO_SANITIZE=ON \
  -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DCMAKE_C_FLAGS_DEBUG=-g1
cmake --build build-asan -j "$jobs"
# Leaks are checked by default; a binary may turn that off for itself (the
# SDL tests do: the display libraries keep allocations for the whole run).
# The real-time tests (label realtime: live streams played for 20 s each)
# measure timing, not memory; they run once, in the normal build.
export UBSAN_OPTIONS=print_stacktrace=1
run_ctest build-asan -LE realtime

tree_after=$(tree_state)
if [ "$tree_before" != "$tree_after" ]; then
  echo "The suite changed the source tree:" >&2
  diff <(echo "$tree_before") <(echo "$tree_after") >&2 || true
  exit 1
fi
echo "The source tree is as the suite found it."
