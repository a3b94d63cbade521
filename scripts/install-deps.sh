#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need,
# but only when one of them is missing.
set -euo pipefail
packages=(build-essential cmake ninja-build qt6-base-dev libqt6opengl6-dev libgl-dev
          libglu1-mesa-dev libgl1-mesa-dri libgtest-dev libbenchmark-dev xvfb xauth
          fonts-dejavu-core clang libclang-rt-14-dev
          dpkg-dev desktop-file-utils appstream libxml2-utils shared-mime-info x11-apps python3
          openbox x11-utils weston qt6-wayland xwayland)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
