#!/usr/bin/env bash
# Installs what is missing, builds and runs the tests: every test but the
# two long runs (a minute of interface churn, 4.7 GB through loopback),
# which have their own presets (long, sanitize-long; .ci/run runs them).
# A fresh checkout builds from scratch; an existing build folder is built
# on, unless --clean asks for a new one.
# Usage: scripts/test.sh [default|sanitize] [--clean]
set -euo pipefail
cd "$(dirname "$0")/.."
preset=default clean=false
for arg in "$@"; do
  case "$arg" in
  --clean) clean=true ;;
  default | sanitize) preset="$arg" ;;
  *) echo "usage: $0 [default|sanitize] [--clean]" >&2; exit 2 ;;
  esac
done

scripts/install-deps.sh
if $clean; then
  rm -rf "build/$preset"
fi
cmake --preset "$preset"
cmake --build --preset "$preset" -j"$(nproc)"
ctest --preset "$preset" -j"$(nproc)"
