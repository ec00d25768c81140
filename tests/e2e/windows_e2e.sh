#!/usr/bin/env bash
# The real tallyflow.exe under Wine, on Xvfb, inside a private network
# namespace (only its loopback), in a fresh prefix: placement, ticking with
# loopback traffic, an interval typed with real keys, Startup and the Run
# value, the modal About window and its links, what Exit saves, a second
# start in the same place, and a minimised start. Screenshots of both
# windows go to $TALLYFLOW_SHOTS (default: a folder beside the program).
# Usage: windows_e2e.sh path/to/tallyflow.exe
set -euo pipefail
exe="$(realpath "$1")"
shots="${TALLYFLOW_SHOTS:-$(dirname "$exe")/e2e-screens}"

. "$(dirname "$0")/wine_session.sh"

# A recorder as Wine's browser and mailer.
recorder="$work/recorder.sh"
printf '#!/bin/sh\nprintf "%%s\\n" "$@" >>"%s/opened.txt"\n' "$work" >"$recorder"
chmod +x "$recorder"
"$wine" reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d "$recorder" /f >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\WineBrowser' /v Mailers /d "$recorder" /f >/dev/null 2>&1
key='HKCU\Software\Quorrin Software\tallyflow\Main'
"$wine" reg add "$key" /v Left /d 3000 /f >/dev/null 2>&1
"$wine" reg add "$key" /v Top /d 1500 /f >/dev/null 2>&1
install="$WINEPREFIX/drive_c/Programme/Überwachung"
mkdir -p "$install"
cp "$exe" "$install/tallyflow.exe"

start() {
  (cd "$install" && exec "$wine" 'C:\Programme\Überwachung\tallyflow.exe' >/dev/null 2>&1 &)
}
# The program as Wine runs it (the script's own arguments name the build's copy).
running() { pgrep -f 'Programme.*tallyflow[.]exe' >/dev/null; }
# Waits for the event itself, with limits generous enough for a loaded machine.
until_true() { # seconds, command...
  local limit=$(($1 * 10))
  shift
  for _ in $(seq "$limit"); do "$@" && return 0; sleep 0.1; done
  return 1
}
wait_gone() { until_true 60 bash -c "$(declare -f running); ! running"; }
# Clicks at a point of the client area, in pixels at 96 dpi.
click() { xdotool mousemove --window "$1" $(($2 + bx)) $(($3 + by)) click 1; sleep 0.3; }

# 1. The window appears where it was stored (3000, 1500 twips: 200, 100 px).
start
wid=$(monitor)
check "the monitor window appears and ticks" test -n "$wid"
eval "$(xdotool getwindowgeometry --shell "$wid")"
echo "monitor window at $X,$Y, $WIDTH x $HEIGHT"
check "placed at its stored place" test "$X,$Y" = "200,100"
bx=$(((WIDTH - 379) / 2))
by=$((HEIGHT - 361 - bx))

# 2. The title and figures follow loopback traffic.
before=$(xdotool getwindowname "$wid")
python3 - <<'PY'
import socket, threading
server = socket.socket(); server.bind(("127.0.0.1", 0)); server.listen(1)
def sink():
    conn, _ = server.accept()
    while conn.recv(1 << 20): pass
threading.Thread(target=sink, daemon=True).start()
client = socket.create_connection(server.getsockname())
chunk = b"x" * (1 << 20)
for _ in range(400): client.sendall(chunk)   # 400 MiB
client.close()
PY
# The title follows on the next tick.
rate_rose() { [ "$(xdotool getwindowname "$wid" | sed 's/Top download speed: \([0-9.,]*\).*/\1/' | tr -d ,)" != "0.00" ]; }
until_true 30 rate_rose || true
after=$(xdotool getwindowname "$wid")
xdotool mousemove 0 0 # no tool tip in the screenshot
echo "title before: $before"
echo "title after:  $after"
check "the title's top download rate rose with the traffic" \
  test "$(echo "$after" | sed 's/Top download speed: \([0-9.,]*\).*/\1/' | tr -d ,)" != "0.00"
steady_shot "$wid" "$shots/monitor.png" || echo "the picture did not settle: $shots/monitor.png"

# 3. Keyboard: Tab to the interval, Home, Shift+End, type 150 (Wine's
# Ctrl+A does not select); Tab to Startup and Space; Tab to About and Enter.
xdotool windowfocus --sync "$wid" 2>/dev/null || true
click "$wid" 100 74 # the graph: the window takes the focus, the list keeps it
xdotool key --window "$wid" Tab 2>/dev/null
xdotool key --window "$wid" Home shift+End 2>/dev/null
xdotool type --window "$wid" --delay 60 150 2>/dev/null
xdotool key --window "$wid" Tab space Tab Return 2>/dev/null
about=$(window_named '^About $')
check "Enter on About opens the About window" test -n "$about"
steady_shot "$about" "$shots/about.png" || echo "the picture did not settle: $shots/about.png"
cp "$shots/about.png" "$work/about-first.png"
eval "$(xdotool getwindowgeometry --shell "$about" | sed 's/^/A/')"
abx=$(((AWIDTH - 458) / 2))
aby=$((AHEIGHT - 257 - abx))
# While it is open the monitor takes no input: Exit does nothing.
click "$wid" 336 336
check "the monitor is disabled while About is open" running
# The two links by keyboard: after System Info... and OK come WebSite
# (Enter) and Email me (Space).
xdotool key --window "$about" Tab Tab Return 2>/dev/null
until_true 30 bash -c '[ "$(wc -l <"$1" 2>/dev/null || echo 0)" -ge 1 ]' _ "$work/opened.txt" || true
xdotool key --window "$about" Tab space 2>/dev/null
until_true 30 bash -c '[ "$(wc -l <"$1" 2>/dev/null || echo 0)" -ge 2 ]' _ "$work/opened.txt" || true
echo "opened: $(cat "$work/opened.txt" 2>/dev/null | tr '\n' ' ')"
check "WebSite reached the browser" grep -q '^https://www.example.com/tallyflow$' "$work/opened.txt"
check "Email me reached the mailer" grep -q '^mailto:support@example.com' "$work/opened.txt"
# System Info... with no tool registered: the one message, captioned with
# the program's title, closed with Enter.
xdotool mousemove --window "$about" $((321 + abx)) $((205 + aby)) click 1
box=$(window_named '^Tallyflow Manager$')
check "System Info... without a tool shows the message" test -n "$box"
# Wine names the box before it maps it and takes keys: wait until it is
# shown, and send Enter again if the first one came before the box could
# take it (seen once in CI).
until_true 30 bash -c "xdotool search --onlyvisible --name '^Tallyflow Manager\$' >/dev/null 2>&1" || true
steady_shot "$box" "$shots/message.png" || echo "the picture did not settle: $shots/message.png"
for _ in 1 2 3; do
  xdotool key --window "$box" Return 2>/dev/null
  for _ in $(seq 20); do xdotool search --name '^Tallyflow Manager$' >/dev/null 2>&1 || break 2; sleep 0.1; done
done
check "Enter closes the message" bash -c "! xdotool search --name '^Tallyflow Manager\$' >/dev/null 2>&1"
xdotool key --window "$about" Escape 2>/dev/null
until_true 30 bash -c "! xdotool search --name '^About \$' >/dev/null 2>&1" || true
check "Escape closes About" bash -c "! xdotool search --name '^About \$' >/dev/null 2>&1"
# The monitor has its focus back on About, as a dialog would: Enter opens it
# again, and it looks as it did the first time.
xdotool key --window "$wid" Return 2>/dev/null
again=$(window_named '^About $')
check "Enter on the monitor after Escape opens About again" test -n "$again"
xdotool mousemove 0 0
steady_shot "$again" "$work/about-again.png" || echo "the picture did not settle: $work/about-again.png"
differ=$(/usr/bin/compare -metric AE "$work/about-first.png" "$work/about-again.png" null: 2>&1 || true)
check "About's second opening looks as its first ($differ pixels differ)" test "$differ" = 0
xdotool key --window "$again" Escape 2>/dev/null
until_true 30 bash -c "! xdotool search --name '^About \$' >/dev/null 2>&1" || true

# 4. Exit saves Left, Top and the typed interval; a second start opens there.
click "$wid" 336 336
check "Exit ends the program" wait_gone
flush
check "Left saved" test "$(value user.reg "$settings" Left)" = "3000"
check "Top saved" test "$(value user.reg "$settings" Top)" = "1500"
check "the typed interval saved as typed" test "$(value user.reg "$settings" UpdateInterval)" = "150"
check "StartUp saved" test "$(value user.reg "$settings" StartUp)" = "1"
run=$(value system.reg "$runkey" tallyflow)
echo "Run value: $run"
check "Startup wrote the Run value for the installed program" test "$run" = 'C:\Programme\Überwachung\tallyflow.exe'

# 5. With StartUp stored as 1 the program starts minimised, and the Run
# value is written again.
"$wine" reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\Run' /v tallyflow /f >/dev/null 2>&1
start
check "the minimised program ticks" until_true 60 bash -c "xdotool search --name 'download speed' >/dev/null 2>&1"
# Minimised, nothing of the window is on the screen where it stood: the
# bare X screen there is black.
brightest() {
  import -window root "$work/shot.png"
  /usr/bin/convert "$work/shot.png" -crop 385x386+200+100 +repage -format '%[fx:maxima.r+maxima.g+maxima.b]' info:
}
check "a minimised start shows no window" until_true 30 bash -c "$(declare -f brightest); work='$work'; [ \"\$(brightest)\" = 0 ]"
"$wine" taskkill /im tallyflow.exe >/dev/null 2>&1 || true # WM_CLOSE, as the close box
check "asked to close, the minimised program ends" wait_gone
flush
check "the start wrote the Run value again" test -n "$(value system.reg "$runkey" tallyflow)"

# 6. Unticked, a second start opens where the first was left.
"$wine" reg add "$key" /v StartUp /d 0 /f >/dev/null 2>&1
start
wid=$(monitor)
check "the second start shows its window" test -n "$wid"
eval "$(xdotool getwindowgeometry --shell "$wid")"
check "the second start opens in the same place" test "$X,$Y" = "200,100"
check "a normal start is seen where the minimised one was not" test "$(brightest)" != 0
click "$wid" 336 336
check "Exit ends the second start" wait_gone

# 7. At 144 dpi the window keeps its physical size: 1.5 times the pixels,
# its fonts scaled with it.
"$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
flush
start
wid=$(monitor)
check "the window shows at 144 dpi" test -n "$wid"
eval "$(xdotool getwindowgeometry --shell "$wid")"
echo "at 144 dpi: $WIDTH x $HEIGHT"
check "a client area of 569 x 542 pixels at 144 dpi" test "$WIDTH" -ge 569 -a "$WIDTH" -le 590 -a "$HEIGHT" -ge 542
xdotool mousemove 0 0
steady_shot "$wid" "$shots/monitor-144dpi.png" || echo "the picture did not settle: $shots/monitor-144dpi.png"
click "$wid" 100 74 # the graph: the window takes the focus, the list keeps it
xdotool key --window "$wid" Tab Tab Tab Return 2>/dev/null
about=$(window_named '^About $')
check "About opens at 144 dpi" test -n "$about"
steady_shot "$about" "$shots/about-144dpi.png" || echo "the picture did not settle: $shots/about-144dpi.png"
xdotool key --window "$about" Escape 2>/dev/null
until_true 30 bash -c "! xdotool search --name '^About \$' >/dev/null 2>&1" || true
"$wine" taskkill /im tallyflow.exe >/dev/null 2>&1 || true
check "asked to close at 144 dpi, the program ends" wait_gone

echo "screenshots: $shots/monitor.png $shots/about.png $shots/monitor-144dpi.png"
echo "$passed passed, 0 failed"
