#!/usr/bin/env bash
# The real program under Xvfb with a temporary XDG configuration: start it,
# let it tick, click Exit, check the settings file; start it again and find
# the window where it was. Then, as root, once more in hostile surroundings.
set -euo pipefail
exe="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" XDG_CONFIG_DIRS="$work/xdg" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
conf="$XDG_CONFIG_HOME/Quorrin Software/$(basename "$exe").conf"

cmd=("$exe")
run_once() { # prints the window's position
  "${cmd[@]}" &
  local pid=$!
  local wid="" starts=1
  for _ in $(seq 50); do
    wid=$(xdotool search --name "download speed" 2>/dev/null | head -n1) && [ -n "$wid" ] && break
    # Now and then the display refuses the very first connection under load
    # ("could not connect to display"): start again, at most twice.
    if ! kill -0 $pid 2>/dev/null && [ $starts -lt 3 ]; then
      echo "the program ended before its window appeared; starting it again" >&2
      "${cmd[@]}" &
      pid=$!
      starts=$((starts + 1))
    fi
    sleep 0.2
  done
  [ -n "$wid" ] || { echo "no ticking window appeared" >&2; kill $pid; return 1; }
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  echo "$X,$Y"
  if [ -n "${typed:-}" ]; then
    # Type an interval as a person does: click into the box (4560,240 in
    # Frame3), select all, type, leave with Tab.
    xdotool mousemove --window "$wid" $(( (4560 + 300) / 15 )) $(( (3660 + 240 + 157) / 15 )) click 1
    sleep 0.2
    xdotool key --window "$wid" ctrl+a
    xdotool type --window "$wid" --delay 50 "$typed"
    xdotool key --window "$wid" Tab
    sleep 0.3
  fi
  # Exit sits at 4560,1200 + 975x375 twips in Frame3 (top 3660): its centre.
  # A click that lands before the window takes input is tried again.
  for _ in 1 2 3; do
    xdotool mousemove --window "$wid" $(( (4560 + 487) / 15 )) $(( (3660 + 1200 + 187) / 15 )) click 1
    for _ in $(seq 30); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
    kill -0 $pid 2>/dev/null || break
  done
  ! kill -0 $pid 2>/dev/null || { echo "Exit did not end the program" >&2; kill $pid; return 1; }
}

# "150" is the start of the listed 1500: saved as typed, never completed.
first=$(typed=150 run_once)
grep -q '^Left=' "$conf" && grep -q '^Top=' "$conf" && grep -q '^UpdateInterval=150$' "$conf" || {
  echo "settings not saved:"; cat "$conf"; exit 1; }
second=$(run_once)
echo "first at $first, second at $second"
[ "$first" = "$second" ] || { echo "the window moved between runs" >&2; exit 1; }

# A place given on the command line keeps to the rule of a stored one: out
# of reach, the window is centred, and Exit saves where it is.
cmd=("$exe" -qwindowgeometry 10x10+5000+5000)
given=$(run_once)
cmd=("$exe")
left=$(sed -n 's/^Left=//p' "$conf")
[ "${given%,*}" -lt 1024 ] && [ "${given#*,}" -lt 768 ] && [ "${left:-99999}" -lt $((1024 * 15)) ] || {
  echo "-qwindowgeometry placed the window out of reach at $given:"; cat "$conf"; exit 1; }

# Linux names no type after a dot: a program called My.Monitor keeps its
# settings under its whole name (its start-up entry goes by the same name).
cp "$exe" "$work/My.Monitor"
cmd=("$work/My.Monitor")
run_once >/dev/null
[ -f "$XDG_CONFIG_HOME/Quorrin Software/My.Monitor.conf" ] || {
  echo "My.Monitor's settings are not under its whole name:"; ls "$XDG_CONFIG_HOME/Quorrin Software"; exit 1; }
rm "$work/My.Monitor"
cmd=("$exe")

# The end of a session (SIGTERM), a closed terminal (SIGHUP) and Ctrl-C
# (SIGINT) close the window as Exit does: the position is saved whole.
for sig in TERM HUP INT; do
  rm -f "$conf"
  "${cmd[@]}" &
  pid=$!
  wid=""
  for _ in $(seq 50); do
    wid=$(xdotool search --name "download speed" 2>/dev/null | head -n1) && [ -n "$wid" ] && break
    sleep 0.2
  done
  [ -n "$wid" ] || { echo "no ticking window appeared" >&2; kill $pid; exit 1; }
  kill -s "$sig" $pid
  for _ in $(seq 30); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  ! kill -0 $pid 2>/dev/null || { echo "SIG$sig did not end the program" >&2; kill -9 $pid; exit 1; }
  wait $pid 2>/dev/null || true
  grep -q '^Left=[0-9]' "$conf" && grep -q '^Top=[0-9]' "$conf" && grep -q '^UpdateInterval=200$' "$conf" || {
    echo "SIG$sig: the position was not saved whole:"; cat "$conf" 2>/dev/null; exit 1; }
done
echo "SIGTERM, SIGHUP and SIGINT saved the position whole"

# An interface alias that names a FIFO as an image (read as markup, it would
# block the window for good) and a settings file that is a FIFO (opened, it
# would hang Exit): the window must tick, and Exit must end it.
if [ "$(id -u)" = 0 ] && unshare -n true 2>/dev/null; then
  mkfifo "$work/fifo"
  rm -f "$conf" && mkfifo "$conf"
  printf '#!/bin/sh\nip link set lo alias %s && exec "%s"\n' "'<img src=\"$work/fifo\">'" "$exe" >"$work/hostile"
  chmod +x "$work/hostile"
  cmd=(unshare -n "$work/hostile")
  run_once >/dev/null
  [ -p "$conf" ] || { echo "the FIFO in the settings file's place was replaced" >&2; exit 1; }
  echo "3 passed, 0 failed"
else
  echo "2 passed, 0 failed, 1 skipped: hostile surroundings need root"
fi
