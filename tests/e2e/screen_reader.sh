#!/usr/bin/env bash
# Tallyflow as a blind user meets it: the real program on Xvfb with openbox,
# in a network namespace of its own (lo and a veth pair), read by the Orca
# screen reader, driven by real keys. Orca runs headless with an in-memory
# GSettings backend; what it says is read from its debug log's "SPEECH
# OUTPUT" lines. Also walks both windows over AT-SPI (atspi_walk.py).
# Usage: screen_reader.sh path/to/tallyflow   (as root: unshare, ip)
set -uo pipefail
exe="$(realpath "$1")"
here="$(cd "$(dirname "$0")" && pwd)"
if [ -z "${TALLYFLOW_IN_SESSION:-}" ]; then
  # A private network, then a private session bus and display.
  exec unshare -n env TALLYFLOW_IN_SESSION=1 dbus-run-session -- \
    xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" "$@"
fi
ip link set lo up
ip link add tf0 type veth peer name tf1

work="$(mktemp -d)"
log="$work/orca.log"
cleanup() { kill $(jobs -p) 2>/dev/null; wait 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run" GSETTINGS_BACKEND=memory
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
passed=0 failed=0
check() { # what, then the verdict as the exit status of the rest
  local what="$1"; shift
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $what" >&2; fi
}
spoken() { tr -d '\r' <"$log" 2>/dev/null | grep -a "SPEECH OUTPUT" | sed "s/.*SPEECH OUTPUT: '//"; }
# Presses the keys, then waits up to 10 s for Orca to say something with
# the text (fixed string); prints what it said meanwhile.
says() {
  local text="$1" before
  shift
  before=$(spoken | wc -l)
  xdotool key --delay 100 "$@"
  for _ in $(seq 100); do
    spoken | tail -n +"$((before + 1))" | grep -qF -- "$text" && break
    sleep 0.1
  done
  spoken | tail -n +"$((before + 1))" | tr '\n' ' ' | sed 's/{.established.: False}//g'
  echo
}
heard() { # what, text, keys...
  local what="$1" text="$2" out
  shift 2
  out=$(says "$text" "$@")
  echo "$* -> $out"
  check "$what: \"$text\"" grep -qF -- "$text" <<<"$out"
}

openbox >/dev/null 2>&1 &
# The window manager first: a window mapped before it manages windows is
# never given the focus, and Orca follows the focus.
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
# The accessibility bus, once its launcher answers on the session bus.
for _ in $(seq 100); do
  dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1 && break
  sleep 0.1
done
# Orca writes its log line by line only to a terminal: give it one.
# No speech server: an address that never answers, and is never spawned.
SPEECHD_ADDRESS=inet_socket:192.0.2.1:6560 script -qfec "orca --replace --debug-file=/dev/tty" "$log" >/dev/null 2>&1 &
for _ in $(seq 300); do spoken | grep -q "Screen reader on" && break; sleep 0.1; done
check "Orca starts" grep -aq 'Screen reader on' "$log"

"$exe" >/dev/null 2>&1 &
wid=""
for _ in $(seq 100); do
  wid=$(xdotool search --name "download speed" 2>/dev/null | head -n1) && [ -n "$wid" ] && break
  sleep 0.1
done
check "the monitor window opens" test -n "$wid"
xdotool windowactivate --sync "$wid" 2>/dev/null
walk=$(/usr/bin/python3 "$here/atspi_walk.py" monitor 2>&1)
status=$?
check "the monitor window as AT-SPI shows it (${walk//$'\n'/; })" test "$status" = 0
first=$(sed -n '/^entries:$/{n;p}' <<<"$walk")
second=$(sed -n '/^entries:$/{n;n;p}' <<<"$walk")

for _ in $(seq 150); do spoken | grep -qF -- "$first" && break; sleep 0.1; done
start=$(spoken | tr '\n' ' ')
echo "at start -> $start"
check "at start, the list's caption" grep -qF 'Connection type' <<<"$start"
check "at start, the selected interface: \"$first\"" grep -qF -- "$first" <<<"$start"
heard "Down speaks the next interface" "$second" Down
heard "Tab to the interval" "Update Interval editable combo box" Tab
said=$(spoken | tail -n 3 | tr '\n' ' ')
check "the interval's description is a short phrase ($said)" bash -c '! grep -qF "4 GiB" <<<"$1"' _ "$said"
heard "Tab to Startup" "Startup check box not checked" Tab
heard "Space on Startup" "checked" space
heard "Tab to About" "About push button" Tab
heard "Tab to Exit" "Exit push button" Tab
review=$(says "Upload speed" KP_Add KP_Add)
echo "flat review -> $review"
for pair in "Received bytes [0-9,]+ KB" "Sent bytes [0-9,]+ KB" "Download speed [0-9.]+ K?BS" \
  "Upload speed [0-9.]+ K?BS"; do
  check "flat review says \"${pair%% [[]*}\" with its figure after it" grep -qE -- "$pair" <<<"$review"
done

# The About window: its announcement, its values in flat review, both links.
heard "Enter on About opens the About window" "dialog" shift+Tab Return
about=$(spoken | tail -n 5 | tr '\n' ' ')
check "the About window says the version title" grep -qF 'Tallyflow Manager v3.264' <<<"$about"
check "the About window says the copyright" grep -qF 'Copyright' <<<"$about"
check "the About window says the owner and the company" grep -qE 'registered to: [^,]+, [A-Za-z]' <<<"$about"
walk=$(/usr/bin/python3 "$here/atspi_walk.py" about 2>&1)
status=$?
check "the About window as AT-SPI shows it (${walk//$'\n'/; })" test "$status" = 0
review=$(says "Company name" KP_Add KP_Add)
echo "flat review -> $review"
check "flat review says the owner after its caption" grep -qE "Registered name: [^' ]" <<<"$review"
check "flat review says the company after its caption" grep -qE "Company name: [^' ]" <<<"$review"
heard "Tab reaches WebSite" "WebSite link" Tab
heard "Tab reaches Email me" "Email me link" Tab
heard "Tab goes on to System Info" "System Info... push button" Tab
xdotool key Escape
echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
