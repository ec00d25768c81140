#!/usr/bin/env bash
# Installs what building and testing Tallyflow needs on Debian 12, and
# nothing when it is all there already. Further package names given as
# arguments are installed the same way (the Windows lane, fuzzing, ...).
# Usage: scripts/install-deps.sh [package...]
set -euo pipefail

packages=(
  build-essential cmake pkg-config git
  libgtest-dev libgmock-dev libbenchmark-dev
  libmnl-dev libudev-dev udev
  nlohmann-json3-dev iproute2
  qt6-base-dev desktop-file-utils
  fonts-liberation fonts-dejavu-core fonts-dejavu-extra
  xvfb xauth xdotool imagemagick x11-utils procps
  weston qt6-wayland
  orca python3-pyatspi at-spi2-core dbus-daemon openbox
  python3-gi gir1.2-glib-2.0
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
