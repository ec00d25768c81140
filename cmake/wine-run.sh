#!/usr/bin/env bash
# Runs a Windows test program under Wine, quietly, in the prefix that the
# lane's set-up step made (a fresh one per test run).
set -euo pipefail
export WINEDEBUG=-all
export WINEPREFIX="${TALLYFLOW_WINEPREFIX:?the Windows lane sets TALLYFLOW_WINEPREFIX}"
exec /usr/lib/wine/wine64 "$@"
