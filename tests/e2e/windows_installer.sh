#!/usr/bin/env bash
# The Windows installer under Wine, in a fresh prefix, as a Windows user and a
# careless administrator use it: an older version installed interactively,
# then this one over it while the program runs (closed in order, its
# settings saved, its program replaced); an upgrade over a copy that cannot
# be closed (nothing changes, exit code 2); the files, the shortcut and the
# Add/Remove Programs entry; Startup ticked; folders that hold the user's own
# files, or that the user made; a folder whose name has no form in the code
# page (the Run value in its short form); removal with the program running.
# Removal leaves every file and folder it did not make, and the settings.
# Every wait is for the event itself, with a generous limit.
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
build_exe="$(dirname "$nsi")/release/tallyflow.exe"

uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Tallyflow'
drive="$WINEPREFIX/drive_c"
dir="$drive/Program Files/Quorrin Software/Tallyflow"
shortcut="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Tallyflow.lnk"
installed='C:\Program Files\Quorrin Software\Tallyflow\tallyflow.exe'

until_true() { # seconds, command...: polls until the command holds
  local limit=$(($1 * 10))
  shift
  for _ in $(seq "$limit"); do "$@" && return 0; sleep 0.1; done
  return 1
}
running() { pgrep -f 'tallyflow[.]exe' >/dev/null; }
stopped() { ! running; }
uninstalling() { pgrep -f 'nsu[0-9A-Fa-f]*[.]tmp.Un[.]exe' >/dev/null; }
# Starts the program of a Windows path; prints its window once it ticks.
start_program() {
  local windows_path="$1" unix_dir="$2"
  (cd "$unix_dir" && exec "$wine" "$windows_path" >/dev/null 2>&1 &)
  monitor
}
# Clicks a point of the monitor's client area, in pixels at 96 dpi.
click_at() {
  local wid="$1"
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  local bx=$(((WIDTH - 379) / 2))
  local by=$((HEIGHT - 361 - bx))
  xdotool mousemove --window "$wid" $(($2 + bx)) $(($3 + by)) click 1
}
# Clicks Exit and waits for the program to end.
exit_program() {
  click_at "$1" 336 336
  until_true 60 stopped || { pgrep -af 'tallyflow[.]exe' >&2; return 1; }
}
# Ticks Startup with the keyboard: the graph, so the list has the focus,
# then two Tab stops on.
tick_startup() {
  click_at "$1" 100 74
  xdotool key --window "$1" Tab Tab space 2>/dev/null
}
# A silent removal runs from a copy of itself (~nsuN.tmp\Un.exe): waits
# until its log is gone (the last file it removes) and the copy has ended.
remove_silently() {
  "$wine" "$1/uninstall.exe" /S
  until_true 60 test ! -e "$1/tallyflow-install.log"
  until_true 60 bash -c "$(declare -f uninstalling); ! uninstalling"
}
# Every name, kind and byte under a folder.
state_of() { (cd "$1" && find . -printf '%p %y %s\n' | sort && find . -type f -exec sha1sum {} + | sort); }

# 1. The older version, interactively as a person installs: Enter on the
# folder page (Install), then Enter on the last page (Close).
"$wine" "$work/older-setup.exe" >/dev/null 2>&1 &
setup=$!
page() { # waits for the setup window named so, shown; Enter on its default button
  local wid
  wid=$(window_named "$2")
  [ -n "$wid" ] || return 1
  until_true 30 bash -c 'xdotool search --onlyvisible --name "$1" >/dev/null' _ "$2" || return 1
  import -window "$wid" "$shots/setup-$1.png"
  xdotool key --window "$wid" Return 2>/dev/null
}
check "the setup shows its folder page" page folder 'Tallyflow Manager.*Setup'
# Enter on the last page closes it; until the files are in, Enter does nothing.
close_when_done() {
  local wid
  wid=$(window_named 'Tallyflow Manager.*Setup')
  xdotool key --window "$wid" Return 2>/dev/null
  ! kill -0 "$setup" 2>/dev/null
}
check "the interactive setup ends on Enter at its last page" until_true 60 bash -c \
  "$(declare -f window_named close_when_done); setup=$setup; close_when_done"
flush
check "the older version installed" test "$(value system.reg "$uninstall_key" DisplayVersion)" = "$older_version"
"$wine" reg add 'HKCU\Software\Quorrin Software\tallyflow\Main' /v UpdateInterval /d 500 /f >/dev/null 2>&1

# 2. An upgrade over a copy that cannot be closed (stopped, as a hung program
# is): it waits, then changes nothing and says so with exit code 2.
wid=$(start_program "$installed" "$dir")
check "the older program runs" test -n "$wid"
pkill -STOP -f 'tallyflow[.]exe'
before=$(state_of "$dir")
status=0
"$wine" "$installer" /S || status=$?
pkill -CONT -f 'tallyflow[.]exe'
check "the hung copy, going on, takes the request to close" until_true 60 stopped
check "an upgrade over a hung copy fails (exit code $status)" test "$status" = 2
check "an upgrade over a hung copy changes no file" test "$(state_of "$dir")" = "$before"
flush
check "an upgrade over a hung copy keeps the version" \
  test "$(value system.reg "$uninstall_key" DisplayVersion)" = "$older_version"

# 3. This version over the running program, silently: the program is closed
# as Exit closes it, saves its place and interval, and is replaced.
wid=$(start_program "$installed" "$dir")
check "the older program runs again" test -n "$wid"
"$wine" reg delete 'HKCU\Software\Quorrin Software\tallyflow\Main' /v Left /f >/dev/null 2>&1
status=0
"$wine" "$installer" /S || status=$?
check "the upgrade over the running program succeeds (exit code $status)" test "$status" = 0
check "the running program was closed" until_true 30 stopped
flush
check "the closed program saved its place" test -n "$(value user.reg "$settings" Left)"
check "the closed program saved its interval" test "$(value user.reg "$settings" UpdateInterval)" = 500
for f in tallyflow.exe README.txt COPYRIGHT.txt uninstall.exe tallyflow-install.log; do
  check "$f installed" test -f "$dir/$f"
done
check "the older README.md gone with the upgrade" test ! -e "$dir/README.md"
check "the installed program is this build's" cmp -s "$dir/tallyflow.exe" "$build_exe"
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
copies=$(find "$drive" -iname tallyflow.exe | wc -l)
check "one installed copy after the upgrade ($copies found)" test "$copies" = 1
entries=$(grep -ac '^\[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\Tallyflow' "$WINEPREFIX/system.reg")
check "one Add/Remove Programs entry" test "$entries" = 1

# 4. The installed program starts; Space on Startup writes the Run value.
wid=$(start_program "$installed" "$dir")
check "the installed program shows its window" test -n "$wid"
xdotool mousemove 0 0
import -window "$wid" "$shots/installed.png"
tick_startup "$wid"
check "Exit ends the installed program" exit_program "$wid"
# The user's own entry for this copy too, and an unrelated one.
"$wine" reg add "HKCU\\$runkey" /v tallyflow /d "\"$installed\"" /f >/dev/null 2>&1
"$wine" reg add "HKCU\\$runkey" /v Other /d 'C:\Tools\other.exe' /f >/dev/null 2>&1
flush
check "Startup wrote the machine-wide Run value" test "$(value system.reg "$runkey" tallyflow)" = "\"$installed\""
check "the program saved its settings" test "$(value user.reg "$settings" StartUp)" = 1

# 5. Removal over a copy that cannot be closed: it waits for it, then
# removes nothing. (A silent removal runs from a copy of itself, which ends
# on its own: its launcher's exit code says nothing.)
wid=$(start_program "$installed" "$dir")
check "the program runs before the removal" test -n "$wid"
pkill -STOP -f 'tallyflow[.]exe'
before=$(state_of "$dir")
"$wine" "$dir/uninstall.exe" /S
check "the removal starts" until_true 60 uninstalling
check "the removal gives up on the hung copy" until_true 120 bash -c "$(declare -f uninstalling); ! uninstalling"
pkill -CONT -f 'tallyflow[.]exe'
check "the hung copy, going on, takes the request to close" until_true 60 stopped
check "removal over a hung copy removes nothing" test "$(state_of "$dir")" = "$before"
flush
check "removal over a hung copy keeps its entry" test -n "$(value system.reg "$uninstall_key" DisplayName)"
check "removal over a hung copy keeps the Run value" test -n "$(value system.reg "$runkey" tallyflow)"

# 6. A silent removal while the program runs: closed in order, then removed.
wid=$(start_program "$installed" "$dir")
check "the program runs before the removal" test -n "$wid"
remove_silently "$dir"
check "removal closed the running program" until_true 30 stopped
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

# 7. Folders of the user's: files Setup did not install are never written
# over (a refusal changes nothing), and never removed; nor is a folder the
# user made, while a folder Setup made goes.
mine="$drive/users/Public/Mine"
mkdir -p "$mine" "$drive/MyTools"
printf 'my notes\n' >"$mine/notes.txt"
printf 'my readme\n' >"$mine/README.md"
printf 'my copyright\n' >"$mine/COPYRIGHT.txt"
before=$(state_of "$mine")
status=0
"$wine" "$installer" /S '/D=C:\users\Public\Mine' || status=$?
check "Setup refuses a folder with a file of the user's name (exit code $status)" test "$status" = 2
check "the refused folder is as it was" test "$(state_of "$mine")" = "$before"
rm "$mine/COPYRIGHT.txt"
before=$(state_of "$mine")
"$wine" "$installer" /S '/D=C:\users\Public\Mine'
check "Setup installs beside the user's files" test -f "$mine/tallyflow.exe"
remove_silently "$mine"
check "removal leaves the user's files and folder as they were" test "$(state_of "$mine")" = "$before"
"$wine" "$installer" /S '/D=C:\NewTools\Deep\Tallyflow'
check "Setup installs into a folder it makes" test -f "$drive/NewTools/Deep/Tallyflow/tallyflow.exe"
remove_silently "$drive/NewTools/Deep/Tallyflow"
check "removal takes every folder Setup made" test ! -e "$drive/NewTools"
"$wine" "$installer" /S '/D=C:\MyTools\Tallyflow'
remove_silently "$drive/MyTools/Tallyflow"
check "removal keeps the user's own empty folder" test -d "$drive/MyTools"
check "removal takes the folder Setup made in it" test ! -e "$drive/MyTools/Tallyflow"

# 8. A folder whose name has no form in the code page: the program (its
# Startup still ticked in the user's settings, so it starts minimised and
# writes its entry) keeps its Run value in the short form, and removal
# still finds it.
"$wine" "$installer" /S '/D=C:\Программы\Tallyflow'
wid=$(start_program 'C:\Программы\Tallyflow\tallyflow.exe' "$drive/Программы/Tallyflow")
check "the program runs from a folder outside the code page" test -n "$wid"
"$wine" taskkill /im tallyflow.exe >/dev/null 2>&1 # WM_CLOSE, as the close box
check "asked to close, it ends" until_true 60 stopped
flush
short=$(value system.reg "$runkey" tallyflow)
check "its Run value is the short form ($short)" grep -q '~' <<<"$short"
remove_silently "$drive/Программы/Tallyflow"
flush
check "removal takes the short-form Run value" test -z "$(value system.reg "$runkey" tallyflow)"
check "removal takes every folder Setup made there" test ! -e "$drive/Программы"

echo "screenshot: $shots/installed.png"
echo "$passed passed, 0 failed"
