#!/usr/bin/env bash
# Installs what is needed, then builds and runs the whole test suite twice:
# a normal build (build/) and an ASan+UBSan build (build-asan/).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
jobs=$(nproc)

# The tree keeps one code style.
bash scripts/format.sh --check

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTINTO_SANITIZE=ON
cmake --build build-asan -j "$jobs"
# Leaks are checked by default; a binary may turn that off for itself (the
# SDL tests do: the display libraries keep allocations for the whole run).
UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"
