#!/usr/bin/env bash
# Installs what is needed, builds the program with its content, and starts
# Tintorama in a real window. Arguments go to the program:
#   --headless    run on the in-memory backend (nothing is shown)
#   --tour DIR    visit every screen headless and write screenshots into DIR
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)"

# The 80 songs are made beside the running program, one per core, at a lower
# priority so that the window stays quick. The first time, a song not made
# yet is missing from the music list's files (choosing it shows the usual
# failure box); later runs find them all and remake only changed ones. Each
# song appears whole, and the lock keeps two runs from making them twice.
python=$(sed -n 's/^TINTO_CONTENT_PYTHON:FILEPATH=//p' build/CMakeCache.txt)
mkdir -p build/tools/content
(
    flock -n 9 || exit 0
    nice -n 10 "${python:-python3}" tools/content/build_songs.py build/app/Data/Media/Music \
        --stamps build/tools/content/song-stamps >build/songs.log 2>&1 ||
        echo "making the songs failed; see build/songs.log" >&2
) 9>build/songs.lock &
exec build/app/tintorama "$@"
