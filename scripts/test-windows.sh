#!/usr/bin/env bash
# The Windows lane: builds the plain-C++ libraries, the Win32 backends and
# their tests with MinGW-w64 and runs them under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh mingw-w64 wine64 googletest
rm -rf build/mingw
cmake --preset mingw
cmake --build --preset mingw -j"$(nproc)"
ctest --preset mingw
