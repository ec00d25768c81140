# Sourced by the Windows end-to-end tests: runs the calling script again in a
# private network namespace (root only; else it skips), with its loopback up,
# a display of its own (Xvfb) and a fresh Wine prefix with a resident
# wineserver, the fonts of fonts-wine and Wine's own window captions. Gives
# $wine, $server, $work (removed at the end), check, flush and value.
if [ -z "${TALLYFLOW_IN_NETNS:-}" ]; then
  if [ "$(id -u)" != 0 ] || ! unshare -n true 2>/dev/null; then
    echo "skipped: a private network namespace needs root"
    exit 0
  fi
  exec env TALLYFLOW_IN_NETNS=1 unshare -n "$0" "$@"
fi
ip link set lo up

work="$(mktemp -d)"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
server=/usr/lib/wine/wineserver
mkdir -p "$shots"
cleanup() {
  "$server" -k 2>/dev/null || true
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A display of our own; the namespace has its own abstract sockets.
display=:$((100 + RANDOM % 400))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

# The prefix: fonts from fonts-wine (Debian's Wine does not find them) and
# Wine's own caption on a bare X server. One resident wineserver: every start
# after the first is quick.
mkdir -p "$WINEPREFIX"
"$server" -p
"$wine" wineboot --init >/dev/null 2>&1
cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1

. "$(dirname "${BASH_SOURCE[0]}")/steady_shot.sh"

passed=0
check() { # description, command...
  local what="$1"
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    echo "FAILED: $what" >&2
    import -window root "$shots/failed.png" 2>/dev/null || true
    exit 1
  fi
}

# Wine writes the registry to its files when its server ends: end it, and
# start a resident one again for what follows.
flush() {
  "$server" -k 2>/dev/null || true
  for _ in $(seq 50); do pgrep -x wineserver >/dev/null || break; sleep 0.1; done
  "$server" -p
}
value() { # registry file, key path, value name: the text stored, decoded
  python3 - "$WINEPREFIX/$1" "$2" "$3" <<'PY'
import re, sys
path, key, name = sys.argv[1:]
def decode(text):  # Wine's escapes: \\ \" and \xHHHH for characters beyond ASCII
    return re.sub(r'\\(x[0-9a-fA-F]{1,4}|.)',
                  lambda m: chr(int(m.group(1)[1:], 16)) if m.group(1)[0] == 'x' else m.group(1), text)
inside = False
for line in open(path, encoding='ascii', errors='replace'):
    line = line.rstrip('\n')
    if line.startswith('['):
        inside = decode(line[1:line.index(']')]).lower() == key.lower()
    elif inside and line.lower().startswith('"%s"="' % name.lower()):
        print(decode(line[len(name) + 4:-1]))
PY
}

settings='Software\Quorrin Software\tallyflow\Main'
runkey='Software\Microsoft\Windows\CurrentVersion\Run'

# The first window whose name matches, waiting up to 10 s; empty if none.
window_named() {
  local wid=""
  for _ in $(seq 100); do
    wid=$(xdotool search --name "$1" 2>/dev/null | head -n1) && [ -n "$wid" ] && break
    sleep 0.1
  done
  echo "$wid"
}
# The monitor window, once the first tick has set its title.
monitor() { window_named "download speed"; }
