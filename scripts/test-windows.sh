#!/usr/bin/env bash
# The Windows lane: builds tallyflow.exe, the plain-C++ libraries, the Win32
# backends and front end and their tests with MinGW-w64 and runs them under
# Wine: the suites, the front end on Xvfb, and the real program end to end in
# a private network namespace. Also checks that the program needs no DLL
# beyond Windows' own.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh mingw-w64 wine64 fonts-wine googletest
rm -rf build/mingw
cmake --preset mingw
cmake --build --preset mingw -j"$(nproc)"
ctest --preset mingw

# Statically linked: Windows' own DLLs only, no MinGW runtime beside it.
dlls=$(x86_64-w64-mingw32-objdump -p build/mingw/src/ui/win32/tallyflow.exe | sed -n 's/^\s*DLL Name: //p')
echo "tallyflow.exe imports: $(echo $dlls)"
for dll in $dlls; do
  case "${dll,,}" in
    advapi32.dll | comctl32.dll | gdi32.dll | iphlpapi.dll | kernel32.dll | msvcrt.dll | shell32.dll | user32.dll) ;;
    *) echo "tallyflow.exe needs $dll, which Windows does not bring" >&2; exit 1 ;;
  esac
done
echo "screenshots of both windows: build/mingw/e2e-screens/"
