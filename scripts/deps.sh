#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
set -euo pipefail
pkgs=(cmake ninja-build g++ clang libclang-rt-14-dev clang-format-14
      libsdl2-dev libfreetype-dev libfontconfig-dev libpng-dev libgtest-dev libbenchmark-dev
      lame twolame mpg123 libmpg123-dev python3 python3-fonttools python3-numpy python3-pil fonts-dejavu-core
      xvfb xdotool openbox imagemagick xdg-utils
      appstream desktop-file-utils lintian dpkg-dev python3-pyftpdlib tinyproxy
      icecast2 ezstream vsftpd)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
