#!/usr/bin/env bash
# Screenshots of both windows in a quiet, repeatable state, for comparing two
# builds pixel by pixel: a private network namespace (every figure 0, the
# graph flat), a fresh configuration, the mouse out of the way, About opened
# with the keyboard. Root only (the namespace).
# Usage: window-shots.sh qt path/to/tallyflow OUTDIR
#        window-shots.sh wine path/to/tallyflow.exe OUTDIR
# Compare: compare -metric AE a.png b.png null:   (0 is identical)
set -euo pipefail
kind="$1"
exe="$(realpath "$2")"
shots="$(realpath -m "$3")"
mkdir -p "$shots"
here="$(cd "$(dirname "$0")" && pwd)"

. "$here/../tests/e2e/steady_shot.sh"

# The graph starts from an empty history: its 100 samples at 200 ms have
# scrolled through after 20 s, and the picture is the same from then on.
history=21 # seconds
named() { # a window name pattern; waits up to 20 s
  local wid=""
  for _ in $(seq 200); do
    wid=$(xdotool search --name "$1" 2>/dev/null | head -n1) && [ -n "$wid" ] && break
    sleep 0.1
  done
  [ -n "$wid" ] || { echo "no window named $1" >&2; return 1; }
  echo "$wid"
}

case "$kind" in
qt)
  if [ -z "${TALLYFLOW_IN_NETNS:-}" ]; then
    exec env TALLYFLOW_IN_NETNS=1 unshare -n xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
  fi
  work="$(mktemp -d)"
  trap 'kill $pid 2>/dev/null && wait $pid; rm -rf "$work"' EXIT
  export XDG_CONFIG_HOME="$work/config" XDG_CONFIG_DIRS="$work/xdg" XDG_RUNTIME_DIR="$work/run"
  mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
  "$exe" &
  pid=$!
  wid=$(named "download speed")
  xdotool mousemove 0 0
  sleep "$history"
  steady_shot "$wid" "$shots/qt-monitor.png" || echo "not steady: qt-monitor" >&2
  xdotool windowfocus --sync "$wid" 2>/dev/null || true
  xdotool key --window "$wid" Tab Tab Tab Return
  about=$(named "^About")
  steady_shot "$about" "$shots/qt-about.png" || echo "not steady: qt-about" >&2
  ;;
wine)
  . "$here/../tests/e2e/wine_session.sh"
  "$wine" reg add 'HKCU\Software\Quorrin Software\tallyflow\Main' /v Left /d 3000 /f >/dev/null 2>&1
  "$wine" reg add 'HKCU\Software\Quorrin Software\tallyflow\Main' /v Top /d 1500 /f >/dev/null 2>&1
  cp "$exe" "$work/tallyflow.exe"
  (cd "$work" && exec "$wine" tallyflow.exe >/dev/null 2>&1 &)
  wid=$(monitor)
  xdotool mousemove 0 0
  sleep "$history"
  steady_shot "$wid" "$shots/wine-monitor.png" || echo "not steady: wine-monitor" >&2
  xdotool key --window "$wid" Tab Tab Tab Return
  about=$(named '^About $')
  steady_shot "$about" "$shots/wine-about.png" || echo "not steady: wine-about" >&2
  ;;
*)
  echo "usage: $0 qt|wine EXE OUTDIR" >&2
  exit 2
  ;;
esac
echo "screenshots in $shots"
