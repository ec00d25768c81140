#!/usr/bin/env bash
# Makes src/ui/win32/tallyflow.ico, the Windows program icon, from the PNGs the
# Linux build renders of the same artwork (build/default, target "icons").
# Run it again whenever the artwork changes, and commit the result.
set -euo pipefail
cd "$(dirname "$0")/.."
icons=build/default/packaging/icons
cmake --build --preset default --target icons
/usr/bin/convert "$icons"/16/com.example.Tallyflow.png "$icons"/24/com.example.Tallyflow.png \
  "$icons"/32/com.example.Tallyflow.png "$icons"/48/com.example.Tallyflow.png \
  "$icons"/64/com.example.Tallyflow.png "$icons"/256/com.example.Tallyflow.png src/ui/win32/tallyflow.ico
