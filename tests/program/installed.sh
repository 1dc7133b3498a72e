#!/bin/sh
# The installed program: `cmake --install` into a scratch folder gives the
# program directory under lib/tintorama/, a bin/tintorama link that starts
# it, the desktop files and the manual pages; started through the link, the
# program finds its content (its tour visits every screen) and refuses a
# wrong --scale with a message.
#   installed.sh BUILD_DIR
set -eu
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
cmake --install "$build" --prefix "$root/usr" >/dev/null 2>"$root/install.log" || {
  cat "$root/install.log" >&2; exit 1; }
fail() { echo "FAIL: $*" >&2; exit 1; }
for f in lib/tintorama/tintorama lib/tintorama/lsansrf.ttf lib/tintorama/topic.txt \
         lib/tintorama/Backgrnd lib/tintorama/Pictures lib/tintorama/Help \
         bin/tintorama-player share/applications/tintorama.desktop \
         share/metainfo/org.tintorama.Tintorama.metainfo.xml \
         share/icons/hicolor/16x16/apps/tintorama.png share/icons/hicolor/256x256/apps/tintorama.png \
         share/man/man1/tintorama.1.gz share/man/man1/tintorama-player.1.gz \
         share/doc/tintorama/copyright; do
  [ -e "$root/usr/$f" ] || fail "$f is not installed"
done
[ "$(readlink "$root/usr/bin/tintorama")" = "../lib/tintorama/tintorama" ] || fail "bin/tintorama is not the link"
for left in CMakeFiles libprogram.a cmake_install.cmake; do
  [ ! -e "$root/usr/lib/tintorama/$left" ] || fail "the build's $left was installed"
done
TINTO_AUDIO=null "$root/usr/bin/tintorama" --tour "$root/tour" || fail "the installed program's tour failed"
[ "$(ls "$root/tour" | wc -l)" -ge 5 ] || fail "the tour took too few screenshots"
if "$root/usr/bin/tintorama" --scale 9 --headless 2>"$root/err"; then fail "--scale 9 was accepted"; fi
grep -q -- "--scale needs a whole number from 1 to 4" "$root/err" || fail "no message for --scale 9"
echo "installed program: ok"
