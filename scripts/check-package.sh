#!/usr/bin/env bash
# Checks the desktop files in the source tree, and the Debian package when
# one is named:
#   bash scripts/check-package.sh [PACKAGE.deb]
# appstreamcli validate (metadata), desktop-file-validate (desktop entry),
# and lintian on the package; an error from any of them fails the check.
# Needs the Debian packages appstream, desktop-file-utils and lintian.
set -euo pipefail
cd "$(dirname "$0")/.."
for tool in appstreamcli desktop-file-validate; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 77; }
done
# --no-net: the check must not depend on the network (screenshots, URLs).
appstreamcli validate --no-net --explain packaging/org.tintorama.Tintorama.metainfo.xml
desktop-file-validate res/linux/tintorama.desktop
echo "metadata and desktop entry: valid"
[ $# -ge 1 ] || exit 0

deb=$1
command -v lintian >/dev/null || { echo "lintian is not installed" >&2; exit 77; }
# The installed files, as a desktop finds them.
listing=$(dpkg-deb -c "$deb" | awk '{print $6, $7, $8}')
for want in './usr/share/metainfo/org.tintorama.Tintorama.metainfo.xml' \
            './usr/share/applications/tintorama.desktop' \
            './usr/lib/tintorama/Data/Media/Music/11.mp3' \
            './usr/bin/tintorama -> ../lib/tintorama/tintorama'; do
  printf '%s\n' "$listing" | sed 's/ *$//' | grep -Fx -- "$want" >/dev/null || { echo "missing from the package: $want" >&2; exit 1; }
done
# Errors fail; warnings and notes are shown. Running as root is the
# check's own business, not the package's.
lintian --fail-on error --allow-root --display-info "$deb"
echo "lintian: no errors in $deb"
