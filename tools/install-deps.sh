#!/usr/bin/env bash
# Installs what building, running and testing pwm20 needs on Debian 12.
# Runs apt-get directly as root, through sudo otherwise; does nothing when
# everything is already there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-serialport-dev qt6-qpa-plugins libgl-dev
  fonts-arphic-uming
  xvfb xauth xdotool x11-utils imagemagick python3
  clang libclang-rt-14-dev clang-format libxcb1-dev
  googletest desktop-file-utils appstream dpkg-dev file
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then as_root=(); else as_root=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
