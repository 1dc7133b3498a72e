#!/usr/bin/env bash
# Installs what is needed, builds the program and runs it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)"
# Until the home screen lands this runs the layer's demo in a real window
# (pass --headless for its scripted run).
exec build/platform-demo "$@"
