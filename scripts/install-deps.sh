#!/usr/bin/env bash
# Installs the Debian packages that building, playing, testing and packaging Tamsel need.
# Safe to run again: packages already present are left alone.
set -euo pipefail

packages=(
  build-essential cmake pkg-config ccache
  libsdl2-dev libsdl2-mixer-dev libfreetype-dev libfontconfig-dev libpng-dev
  libfluidsynth-dev fluid-soundfont-gm fonts-wqy-zenhei
  libgtest-dev libbenchmark-dev
  dpkg-dev desktop-file-utils appstream
  clang libclang-rt-dev
  xvfb xauth
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
