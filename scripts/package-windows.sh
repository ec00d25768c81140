#!/usr/bin/env bash
# Builds the Windows release from the checkout, both named and stamped from
# the project version: the installer (build/mingw/package/tallyflow-VERSION-
# win64-setup.exe) and the portable zip (tallyflow-VERSION-win64.zip). Then
# checks the zip's contents, and installs, upgrades, starts and removes the
# installer under Wine (tests/e2e/windows_installer.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh mingw-w64 wine64 fonts-wine googletest nsis
cmake --preset mingw
cmake --build --preset mingw -j"$(nproc)" --target windows-installer windows-zip

version=$(sed -n 's/^project(Tallyflow VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
installer="build/mingw/package/tallyflow-$version-win64-setup.exe"
zip="build/mingw/package/tallyflow-$version-win64.zip"
python3 - "$zip" "tallyflow-$version-win64" <<'PY'
import sys, zipfile
path, root = sys.argv[1:]
names = sorted(zipfile.ZipFile(path).namelist())
want = sorted([root + "/tallyflow.exe", root + "/README.txt", root + "/COPYRIGHT.txt"])
if names != want:
    sys.exit("the zip holds %s, not %s" % (names, want))
print("zip holds:", " ".join(n for n in names if not n.endswith("/")))
PY
tests/e2e/windows_installer.sh build/mingw/packaging/windows/tallyflow.nsi
echo "built: $installer and $zip"
