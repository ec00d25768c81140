#!/usr/bin/env bash
# The command line as a person and a session manager use it: --help,
# --help-all and --version answer on a bare terminal (no display) and end
# with 0; anything else is left to Qt or ignored, and the window opens.
# With no display to reach, every option the help lists ends the program
# with one line on stderr and status 1, never an abort. A Wayland session
# whose X refuses the connection still gets its window, on Wayland.
set -uo pipefail
exe="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" XDG_CONFIG_DIRS="$work/xdg"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
passed=0 failed=0
check() { # what, then the verdict as the exit status of the rest
  local what="$1"; shift
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $what" >&2; fi
}
conf="$XDG_CONFIG_HOME/Quorrin Software/$(basename "$exe").conf"
# The window is up and watching for the end of a session once the program
# catches SIGTERM (bit 15 of SigCgt in /proc); asked to end then, it closes
# as Exit does and saves. Waits up to 30 s for each step.
opens_and_closes() { # pid
  local caught=""
  rm -f "$conf"
  for _ in $(seq 300); do
    caught=$(awk '/^SigCgt:/ {print $2}' "/proc/$1/status" 2>/dev/null) || break
    [ -n "$caught" ] && (((16#$caught >> 14) & 1)) && break
    caught=""
    sleep 0.1
  done
  [ -n "$caught" ] || return 1
  kill -TERM "$1"
  for _ in $(seq 300); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
  wait "$1" 2>/dev/null
  grep -q '^UpdateInterval=200$' "$conf" 2>/dev/null
}

for args in "--version:Tallyflow Manager 3" "-v:Tallyflow Manager 3" "--help:Usage:" "-h:--version" \
  "--help-all:--platform <platformName"; do
  option="${args%%:*}" expected="${args#*:}"
  out=$(timeout 10 "$exe" "$option" 2>&1); status=$?
  check "$option answers \"$expected\" and ends with 0 (got $status: $out)" \
    bash -c '[ "$1" = 0 ] && grep -qF -- "$2" <<<"$3"' _ "$status" "$expected" "$out"
done

# Qt's own options still work and an unknown one is ignored: the program
# runs (on the offscreen platform, as asked) until it is ended.
for args in "-platform offscreen --frobnicate" "-platform offscreen -session 1a2b3c"; do
  # shellcheck disable=SC2086
  "$exe" $args >/dev/null 2>&1 &
  pid=$!
  check "\"$args\" opens the window, which closes in order" opens_and_closes "$pid"
  kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
done
# No display: every other option the full help lists, given a value.
options=$(timeout 10 "$exe" --help-all 2>/dev/null | grep -oE '^  (-[a-z], )?--[a-z-]+' | grep -oE -- '--[a-z-]+' |
  grep -vxE -- '--(help|help-all|version)')
check "the full help lists Qt's options" test "$(wc -w <<<"$options")" -ge 5
for option in $options --frobnicate; do
  timeout 10 "$exe" "$option" x >/dev/null 2>"$work/err"; status=$?
  check "$option with no display: status 1 and one line (got $status: $(head -c 300 "$work/err"))" \
    bash -c '[ "$1" = 1 ] && [ "$(wc -l <"$2")" = 1 ] && grep -q "no display" "$2"' _ "$status" "$work/err"
done

# The line names what was tried: the display or platform asked for.
for args in "-display :93|-display :93" "-platform wayland|-platform wayland, WAYLAND_DISPLAY=unset"; do
  # shellcheck disable=SC2086
  timeout 10 "$exe" ${args%%|*} >/dev/null 2>"$work/err"
  check "\"${args%%|*}\" is named ($(head -c 300 "$work/err"))" grep -qF -- "(${args#*|}" "$work/err"
done

# A Wayland session where X refuses us: the window opens on Wayland.
export XDG_RUNTIME_DIR="$work/run"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
weston --backend=headless-backend.so --socket=tf-fallback --idle-time=0 >"$work/weston.log" 2>&1 &
weston=$!
for _ in $(seq 50); do [ -S "$XDG_RUNTIME_DIR/tf-fallback" ] && break; sleep 0.1; done
DISPLAY=:97 WAYLAND_DISPLAY=tf-fallback "$exe" >/dev/null 2>"$work/err" &
pid=$!
check "X refused, Wayland there: the window opens and closes in order ($(head -c 300 "$work/err"))" \
  opens_and_closes "$pid"
kill "$pid" "$weston" 2>/dev/null; wait "$pid" "$weston" 2>/dev/null
echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
