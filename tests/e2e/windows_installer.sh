#!/usr/bin/env bash
# The Windows installer under Wine, in a fresh prefix: an older version
# installed silently, then this one over it (one copy afterwards); the files,
# the shortcut and the Add/Remove Programs entry; the installed program
# started, Startup ticked; a silent removal that leaves no file, shortcut,
# entry or Run value of this copy, and the user's settings as they were.
# Usage: windows_installer.sh path/to/tallyflow.nsi
set -euo pipefail
nsi="$(realpath "$1")"
shots="$(dirname "$nsi")/installer-screens"
mkdir -p "$shots"
rm -f "$shots/failed.png"

. "$(dirname "$0")/wine_session.sh"

# The installer as built, and the same stamped one revision lower.
installer=$(sed -n 's/^  !define OUTFILE "\(.*\)"$/\1/p' "$nsi")
version=$(sed -n 's/^  !define VERSION "\(.*\)"$/\1/p' "$nsi")
older_version="${version%.*}.$((${version##*.} - 1))"
makensis -V1 -DVERSION="$older_version" -DOUTFILE="$work/older-setup.exe" "$nsi"

uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Tallyflow'
dir="$WINEPREFIX/drive_c/Program Files/Quorrin Software/Tallyflow"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Tallyflow.lnk"
installed='C:\Program Files\Quorrin Software\Tallyflow\tallyflow.exe'
running() { pgrep -f 'Program Files.Quorrin Software.Tallyflow.tallyflow[.]exe' >/dev/null; }
stopped() { ! running; }

# 1. The older version, interactively as a person installs: Enter on the
# folder page (Install), then Enter on the last page (Close).
"$wine" "$work/older-setup.exe" >/dev/null 2>&1 &
setup=$!
page() { # waits for the setup window; Enter on its default button
  local wid
  wid=$(window_named 'Tallyflow Manager.*Setup')
  [ -n "$wid" ] || return 1
  sleep 0.5
  import -window "$wid" "$shots/setup-$1.png"
  xdotool key --window "$wid" Return 2>/dev/null
}
check "the setup shows its folder page" page folder
sleep 1
check "the setup shows its last page" page done
for _ in $(seq 100); do kill -0 $setup 2>/dev/null || break; sleep 0.1; done
check "the interactive setup ends" bash -c "! kill -0 $setup 2>/dev/null"
flush
check "the older version installed" test "$(value system.reg "$uninstall_key" DisplayVersion)" = "$older_version"
"$wine" reg add 'HKCU\Software\Quorrin Software\tallyflow\Main' /v UpdateInterval /d 500 /f >/dev/null 2>&1

# 2. This version over it, silently.
"$wine" "$installer" /S
flush
for f in tallyflow.exe README.md COPYRIGHT.txt uninstall.exe; do
  check "$f installed" test -f "$dir/$f"
done
check "the installed program is this build's" cmp -s "$dir/tallyflow.exe" "$(dirname "$nsi")/release/tallyflow.exe"
check "the Start-menu shortcut" test -f "$shortcut"
check "the shortcut starts the installed program" grep -aq 'Tallyflow.tallyflow.exe' "$shortcut"
declare -A expected=(
  [DisplayName]="Tallyflow Manager" [DisplayVersion]="$version" [Publisher]="Quorrin Software"
  [DisplayIcon]="$installed,0" [InstallLocation]='C:\Program Files\Quorrin Software\Tallyflow'
  [UninstallString]='"C:\Program Files\Quorrin Software\Tallyflow\uninstall.exe"'
  [QuietUninstallString]='"C:\Program Files\Quorrin Software\Tallyflow\uninstall.exe" /S')
for name in "${!expected[@]}"; do
  got=$(value system.reg "$uninstall_key" "$name")
  check "$name is '${expected[$name]}' (got '$got')" test "$got" = "${expected[$name]}"
done
copies=$(find "$WINEPREFIX/drive_c" -iname tallyflow.exe | wc -l)
check "one installed copy after the upgrade ($copies found)" test "$copies" = 1
entries=$(grep -ac '^\[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\Tallyflow' "$WINEPREFIX/system.reg")
check "one Add/Remove Programs entry" test "$entries" = 1

# 3. The installed program starts and shows its window; Space on Startup
# (the second Tab stop after the list and the interval) writes the Run value.
(cd "$dir" && exec "$wine" "$installed" >/dev/null 2>&1 &)
wid=$(monitor)
check "the installed program shows its window" test -n "$wid"
eval "$(xdotool getwindowgeometry --shell "$wid")"
bx=$(((WIDTH - 379) / 2))
by=$((HEIGHT - 361 - bx))
xdotool mousemove 0 0
import -window "$wid" "$shots/installed.png"
xdotool mousemove --window "$wid" $((100 + bx)) $((74 + by)) click 1
xdotool key --window "$wid" Tab Tab space 2>/dev/null
sleep 0.5
xdotool mousemove --window "$wid" $((336 + bx)) $((336 + by)) click 1 # Exit
for _ in $(seq 50); do running || break; sleep 0.1; done
check "Exit ends the installed program" stopped
# The user's own entry for this copy too, and an unrelated one.
"$wine" reg add "HKCU\\$runkey" /v tallyflow /d "\"$installed\"" /f >/dev/null 2>&1
"$wine" reg add "HKCU\\$runkey" /v Other /d 'C:\Tools\other.exe' /f >/dev/null 2>&1
flush
check "Startup wrote the machine-wide Run value" test "$(value system.reg "$runkey" tallyflow)" = "\"$installed\""
check "the program saved its settings" test "$(value user.reg "$settings" StartUp)" = 1

# 4. A silent removal. The uninstaller runs from a copy of itself: wait for
# the folder to go.
"$wine" "$dir/uninstall.exe" /S
for _ in $(seq 100); do [ -d "$dir" ] || break; sleep 0.1; done
flush
check "no installed files" test ! -e "$dir"
check "no publisher folder left empty" test ! -e "$(dirname "$dir")"
check "no shortcut" test ! -e "$shortcut"
check "no Add/Remove Programs entry" test -z "$(value system.reg "$uninstall_key" DisplayName)"
check "no machine-wide Run value" test -z "$(value system.reg "$runkey" tallyflow)"
check "no Run value of the user's for this copy" test -z "$(value user.reg "$runkey" tallyflow)"
check "another program's Run value stays" test "$(value user.reg "$runkey" Other)" = 'C:\Tools\other.exe'
check "the user's settings stay" test "$(value user.reg "$settings" UpdateInterval)" = 500
check "the user's start-up flag stays" test "$(value user.reg "$settings" StartUp)" = 1

echo "screenshot: $shots/installed.png"
echo "$passed passed, 0 failed"
