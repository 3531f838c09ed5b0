#!/usr/bin/env bash
# Installs every Debian package Kestro needs to build, test, run and regenerate its content.
# Idempotent and silent when everything is already present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git ccache
  clang libclang-rt-14-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libsdl2-dev libopenscenegraph-dev libopenal-dev libopenal1 libfreetype-dev
  libgl-dev libglu1-mesa-dev libgl1-mesa-dri mesa-utils
  xvfb xdotool x11-utils imagemagick
  xfoil fonts-dejavu-core python3 python3-numpy python3-pil librsvg2-bin openscenegraph sox
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
