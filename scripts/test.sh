#!/usr/bin/env bash
# Installs what is missing, builds from scratch and runs every test.
# Usage: scripts/test.sh [default|sanitize]
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"

scripts/install-deps.sh
rm -rf "build/$preset"
cmake --preset "$preset"
cmake --build --preset "$preset" -j"$(nproc)"
ctest --preset "$preset" -j"$(nproc)"
