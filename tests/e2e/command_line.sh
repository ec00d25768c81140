#!/usr/bin/env bash
# The command line as a person and a session manager use it: --help and
# --version answer on a bare terminal (no display) and end with 0; anything
# else is left to Qt or ignored, and the window opens.
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

for args in "--version:Tallyflow Manager 3" "-v:Tallyflow Manager 3" "--help:Usage:" "-h:--version"; do
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
  sleep 2
  check "\"$args\" keeps the window open" kill -0 "$pid"
  kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
done
echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
