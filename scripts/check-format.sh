#!/usr/bin/env bash
# Fails when a C++ file in the tree is not as clang-format (.clang-format)
# writes it, and names the files.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh clang-format
mapfile -t files < <(git ls-files '*.cpp' '*.h') # not *.h.in: CMake's @NAMES@ are no C++
clang-format --dry-run --Werror "${files[@]}"
echo "${#files[@]} files formatted as clang-format writes them"
