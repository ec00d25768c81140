#!/usr/bin/env bash
# Builds the Debian package, validates its desktop entry and AppStream
# metadata, installs it, starts the installed program under Xvfb until its
# window shows, and removes the package again.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh dpkg-dev desktop-file-utils appstream lintian
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

echo "-- validating the desktop entry and the AppStream metadata"
desktop-file-validate packaging/com.example.Tallyflow.desktop
appstreamcli validate --no-net packaging/com.example.Tallyflow.metainfo.xml

echo "-- building the package"
rm -rf build/package
# Release with warnings as errors: what ships is built as CI builds it.
cmake -S . -B build/package -DCMAKE_BUILD_TYPE=Release -DTALLYFLOW_TESTS=OFF -DTALLYFLOW_WERROR=ON >/dev/null
cmake --build build/package -j"$(nproc)"
(cd build/package && cpack -G DEB)
deb=$(ls "$PWD"/build/package/tallyflow_*.deb)
dpkg-deb --info "$deb" | sed -n '/Package:/,/Version:/p'

echo "-- lintian: no errors"
lintian --fail-on error "$deb"

echo "-- installing $deb"
$SUDO apt-get install -y -qq "$deb"
trap '$SUDO apt-get remove -y -qq tallyflow >/dev/null || true' EXIT
desktop-file-validate /usr/share/applications/com.example.Tallyflow.desktop

echo "-- starting the installed program"
work=$(mktemp -d)
XDG_CONFIG_HOME="$work" xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  /usr/bin/tallyflow &
  app=$!
  name=""
  for _ in $(seq 50); do
    wid=$(xdotool search --name "download speed" 2>/dev/null | head -n1 || true)
    [ -n "$wid" ] && name=$(xdotool getwindowname "$wid" 2>/dev/null || true)
    [ -n "$name" ] && break
    sleep 0.2
  done
  [ -n "$name" ] || { kill $app; echo "the installed program showed no window" >&2; exit 1; }
  echo "window seen: \"$name\""
  # Tick Startup (4560,720 in Frame3, top 3660): the user'"'"'s entry, as
  # freedesktop'"'"'s validator judges it.
  xdotool mousemove --window "$wid" $(( (4560 + 100) / 15 )) $(( (3660 + 720 + 127) / 15 )) click 1
  # The entry once it is written, machine-wide or the user'"'"'s own.
  for _ in $(seq 100); do
    [ -f /etc/xdg/autostart/tallyflow.desktop ] || [ -f "$XDG_CONFIG_HOME/autostart/tallyflow.desktop" ] && break
    sleep 0.1
  done
  kill $app'
for entry in /etc/xdg/autostart/tallyflow.desktop "$work/autostart/tallyflow.desktop"; do
  [ -f "$entry" ] && { desktop-file-validate "$entry"; echo "start-up entry $entry valid"; }
done
[ -f /etc/xdg/autostart/tallyflow.desktop ] || [ -f "$work/autostart/tallyflow.desktop" ] || {
  echo "ticking Startup wrote no start-up entry" >&2; exit 1; }
rm -rf "$work"

echo "-- removing the package"
$SUDO apt-get remove -y -qq tallyflow
trap - EXIT
! dpkg-query -W -f='${Status}' tallyflow 2>/dev/null | grep -q 'install ok installed'
[ ! -e /etc/xdg/autostart/tallyflow.desktop ] || { echo "the start-up entry outlived the package" >&2; exit 1; }
echo "package built, installed, started and removed"
