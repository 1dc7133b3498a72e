#!/usr/bin/env bash
# Installs what is needed, builds the program with its content and songs,
# and starts Tintorama in a real window. Arguments go to the program:
#   --headless    run on the in-memory backend (nothing is shown)
#   --tour DIR    visit every screen headless and write screenshots into DIR
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)"
# The 80 songs take a few minutes the first time; later runs reuse them.
cmake --build build -j "$(nproc)" --target songs
exec build/app/tintorama "$@"
