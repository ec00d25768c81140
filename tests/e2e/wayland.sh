#!/usr/bin/env bash
# Runs a window test on Wayland: a headless weston of its own, the test as
# its client. Usage: wayland.sh test-binary gtest-filter
set -euo pipefail
runtime="$(mktemp -d)"
chmod 700 "$runtime"
export XDG_RUNTIME_DIR="$runtime"
weston --backend=headless-backend.so --socket=tallyflow-test --idle-time=0 >"$runtime/weston.log" 2>&1 &
weston=$!
trap 'kill $weston 2>/dev/null; wait $weston 2>/dev/null; rm -rf "$runtime"' EXIT
for _ in $(seq 50); do [ -S "$runtime/tallyflow-test" ] && break; sleep 0.1; done
[ -S "$runtime/tallyflow-test" ] || { echo "weston did not start:"; cat "$runtime/weston.log"; exit 1; }
unset DISPLAY
# Under LeakSanitizer: the Wayland client library's own leak is not ours.
export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$(dirname "$0")/lsan-wayland.supp"
# Whole allocation stacks: a leak from a driver that was unloaded is known by
# the frames that loaded it.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}fast_unwind_on_malloc=0"
WAYLAND_DISPLAY=tallyflow-test QT_QPA_PLATFORM=wayland "$1" --gtest_filter="$2"
