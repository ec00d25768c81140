#!/usr/bin/env bash
# What a large per-application store costs the real window while interfaces
# come and go: a 1 MiB "VB and VBA Program Settings/Tallyflow Manager.conf"
# (our one group after 1 MiB of other programs' groups), a bridge added and
# removed every 0.2 s for 11.5 s, so the connection list is rebuilt on about
# every other tick. Prints the time from start to the window and the CPU
# seconds the program used over the churn. Runs as root in a private network
# namespace on its own Xvfb.
#   bench/settings-churn.sh [path/to/tallyflow]
set -euo pipefail
exe="$(realpath "${1:-build/default/src/ui/qt/tallyflow}")"
if [ -z "${TALLYFLOW_IN_NAMESPACE:-}" ]; then
  exec unshare -n env TALLYFLOW_IN_NAMESPACE=1 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$exe"
fi
ip link set lo up
export XDG_CONFIG_HOME="$(mktemp -d)"
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT
store="$XDG_CONFIG_HOME/VB and VBA Program Settings/Tallyflow Manager.conf"
mkdir -p "$(dirname "$store")"
python3 - "$store" <<'PY'
import sys
parts, size, group = [], 0, 0
while size < (1 << 20) - 64:
    part = "[Other%d]\nkey=some value of another program's\n" % group
    parts.append(part); size += len(part); group += 1
parts.append("[Setting]\nConnection=0\n")
open(sys.argv[1], "w").write("".join(parts))
PY
start=$(date +%s%N)
"$exe" >/dev/null 2>"$XDG_CONFIG_HOME/err" &
pid=$!
for _ in $(seq 500); do
  xdotool search --name "download speed" >/dev/null 2>&1 && break
  sleep 0.01
done
cat "$XDG_CONFIG_HOME/err" >&2
echo "start to window: $(( ($(date +%s%N) - start) / 1000000 )) ms"
ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
before=$(ticks)
end=$(( $(date +%s%N) + 11500000000 ))
while [ "$(date +%s%N)" -lt "$end" ]; do
  ip link add tfchurn type bridge; sleep 0.1
  ip link del tfchurn; sleep 0.1
done
echo "CPU over 11.5 s of churn: $(awk -v t=$(( $(ticks) - before )) -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "%.2f", t / hz }') s"
kill "$pid"; wait "$pid" 2>/dev/null || true
