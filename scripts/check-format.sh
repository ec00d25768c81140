#!/usr/bin/env bash
# Fails when a C++ file in the tree is not as clang-format (.clang-format)
# writes it, and names the files.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh clang-format
mapfile -t files < <(git ls-files '*.cpp' '*.h') # not *.h.in: CMake's @NAMES@ are no C++
clang-format --dry-run --Werror "${files[@]}"
echo "${#files[@]} files formatted as clang-format writes them"

# The feature folders are plain C++: no toolkit and no <windows.h>, and an
# include names its folder from src/.
features=(src/services src/netstats src/graph src/pictures src/registry src/about src/monitor)
if grep -rnE '#include <(Q[A-Za-z]*|windows\.h)>' "${features[@]}"; then
  echo "a feature folder includes a toolkit or <windows.h> (above)" >&2
  exit 1
fi
if git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' | xargs grep -nE '#include "[^/"]+"'; then
  echo "an include without its folder (above)" >&2
  exit 1
fi
echo "the feature folders are plain C++; every include names its folder"
