#!/usr/bin/env bash
# The Windows lane: builds the plain-C++ libraries, the Win32 backends and
# their tests with MinGW-w64 and runs them under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

missing=()
for p in mingw-w64 wine64 cmake googletest; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
rm -rf build/mingw
cmake --preset mingw
cmake --build --preset mingw -j"$(nproc)"
ctest --preset mingw
