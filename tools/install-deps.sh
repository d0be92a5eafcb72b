#!/usr/bin/env bash
# Installs what pwm20 needs on Debian 12, by purpose; does nothing when it is all there.
#   install-deps.sh              building and running the program
#   install-deps.sh --test       and running the test suite (X server, xdotool, package tools)
#   install-deps.sh --bench      and the benchmarks
#   install-deps.sh --fuzz       and the fuzzers (clang with libFuzzer)
#   install-deps.sh --screenshot and taking a screenshot of the window
# Runs apt-get directly as root, through sudo otherwise.
set -euo pipefail

# Debian's qt6-charts-dev leaves out libqt6opengl6-dev, which its CMake files look for.
packages=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-serialport-dev
          qt6-charts-dev libqt6opengl6-dev qt6-qpa-plugins libgl-dev fonts-arphic-uming
          fonts-wqy-microhei qt6-translations-l10n qt6-tools-dev qt6-l10n-tools)
for purpose in "$@"; do
  case "$purpose" in
    --test) packages+=(xvfb xauth xdotool x11-utils python3 desktop-file-utils appstream lintian
                       dpkg-dev file) ;;
    --bench) packages+=(xvfb xauth libxcb1-dev valgrind) ;;
    --fuzz) packages+=(clang libclang-rt-14-dev) ;;
    --screenshot) packages+=(xvfb xauth xdotool imagemagick) ;;
    *) echo "install-deps.sh: unknown purpose $purpose" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then as_root=(); else as_root=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
