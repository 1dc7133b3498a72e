#!/usr/bin/env bash
# Builds the Debian package of Tintorama into build/ (tintorama_VERSION_ARCH.deb)
# and checks it: AppStream metadata, desktop entry and lintian.
#   bash scripts/package-deb.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j "$(nproc)"
# The songs belong in the package; later runs reuse them.
cmake --build "$build" -j "$(nproc)" --target songs
rm -f "$build"/tintorama_*.deb
(cd "$build" && cpack -G DEB)
deb=$(ls "$build"/tintorama_*.deb)
bash scripts/check-package.sh "$deb"
echo "built and checked: $deb"
