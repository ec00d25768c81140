#!/usr/bin/env bash
# Whole-process cost of the real window against nload, side by side: both run
# at the same time over the same seconds, at 100 ms, and their CPU time is
# read at the same moments, every thread of each (Tallyflow's X reader
# included). nload runs as users run it: its default view in an 80 x 24
# terminal (NLOAD_VIEW=multiple for its busier -m view in 200 x 50, labelled
# so). Four rows: 10 and 1,000 interfaces, each idle and with changing
# traffic; plus Tallyflow's resident memory after the warm-up and at the end. Runs as root inside a private network namespace that holds
# the interfaces, with its own sysfs so that both programs see only those
# interfaces. Needs the program built in build/app (scripts/run.sh builds it),
# Xvfb, nload, tmux and python3.
#   bench/whole-process.sh [seconds] [warm-up seconds]
# COUNTS="10 1000" and TRAFFIC="idle changing" choose the rows; TALLYFLOW_EXE
# another build of the program (named tallyflow: its settings go by that name).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
# The graph starts from an empty history and scrolls for its first 100
# samples; warm up past that so the figures show the steady state.
warmup="${2:-25}"
interval=100 # ms, for both programs
exe="${TALLYFLOW_EXE:-$PWD/build/app/src/ui/qt/tallyflow}" # another build to compare with
[ -x "$exe" ] || { echo "build the program first: scripts/run.sh builds build/app" >&2; exit 1; }

if [ "${TALLYFLOW_IN_NAMESPACE:-}" != 1 ]; then
  exec unshare -n -m env TALLYFLOW_IN_NAMESPACE=1 "$0" "$@"
fi
# /sys/class/net shows the network namespace of whoever mounted sysfs: mount
# our own, or nload would count the host's interfaces instead of ours.
mount --make-rprivate /
mount -t sysfs sysfs /sys
ip link set lo up

# CPU time on the processor in ns (schedstat), user and kernel together,
# summed over the process's threads.
cpu_ns() { cat /proc/"$1"/task/*/schedstat | awk '{s += $1} END {printf "%.0f\n", s}'; }
rss_kib() { awk '/^VmRSS/ {print $2}' "/proc/$1/status"; }
links=1
make_links() { # up to $1 links in all
  local file
  file=$(mktemp)
  while [ "$links" -lt "$1" ]; do
    echo "link add w$links type veth peer name x$links" >>"$file"
    links=$((links + 2))
  done
  ip -batch "$file"
  rm -f "$file"
}

work=$(mktemp -d)
tmx() { tmux -L "tallyflow-bench-$$" "$@"; }
traffic=
cleanup() {
  kill $(jobs -p) 2>/dev/null || true
  tmx kill-server 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
display=:$((70 + $$ % 20))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
sleep 1

# UDP on lo, the interface both programs show first, at a new random rate
# from 50 to 950 KB/s every 100 ms, sent in 10 ms slices: every figure, the
# graph and the title change on every tick. The datagrams go to a bound
# socket that is never read, so no ICMP replies add to the rate.
start_traffic() {
  python3 -c '
import random, socket, time
sink = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
sink.bind(("127.0.0.1", 0))
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
payload = b"x" * 1024
due = time.monotonic()
while True:
    per_slice = random.randint(50, 950) * 1024 // 100  # bytes in 10 ms
    for _ in range(10):
        left = per_slice
        while left > 0:
            s.sendto(payload[:min(left, 1024)], sink.getsockname())
            left -= 1024
        due += 0.01
        time.sleep(max(0.0, due - time.monotonic()))' &
  traffic=$!
}

measure() { # interfaces traffic
  local n=$1 label=$2
  mkdir -p "$work/cfg/Quorrin Software"
  printf '[Main]\nUpdateInterval=%s\n' "$interval" >"$work/cfg/Quorrin Software/tallyflow.conf"
  DISPLAY=$display XDG_CONFIG_HOME="$work/cfg" XDG_RUNTIME_DIR="$work" "$exe" &
  local app=$!
  if [ "${NLOAD_VIEW:-default}" = multiple ]; then
    tmx new-session -d -s nl -x 200 -y 50 "nload -t $interval -m"
  else
    tmx new-session -d -s nl -x 80 -y 24 "nload -t $interval"
  fi
  sleep "$warmup"
  local nl
  nl=$(pgrep -x nload | head -n1)
  local a0 n0 r0 a1 n1 r1
  a0=$(cpu_ns "$app") n0=$(cpu_ns "$nl") r0=$(rss_kib "$app")
  sleep "$seconds"
  a1=$(cpu_ns "$app") n1=$(cpu_ns "$nl") r1=$(rss_kib "$app")
  kill "$app"
  tmx kill-session -t nl
  wait "$app" 2>/dev/null || true
  awk -v a=$((a1 - a0)) -v b=$((n1 - n0)) -v s="$seconds" -v n="$n" -v l="$label" \
    -v r0="$r0" -v r1="$r1" \
    'BEGIN { ta = 100 * a / 1e9 / s; tb = 100 * b / 1e9 / s;
             printf "| %d | %s | %.2f %% | %.2f %% | %s | %.1f -> %.1f MiB |\n", n, l, ta, tb,
                    (b > 0 ? sprintf("%.2f", a / b) : "n/a"), r0 / 1024, r1 / 1024 }'
}

printf '\n%s s measured after %s s warm-up, both at %s ms; nload in its %s view\n' "$seconds" "$warmup" \
  "$interval" "${NLOAD_VIEW:-default}"
printf '\n| interfaces | traffic | Tallyflow CPU | nload CPU | ratio | Tallyflow RSS after warm-up -> end |\n'
printf '|---|---|---|---|---|---|\n'
for n in ${COUNTS:-10 1000}; do
  make_links "$n"
  for t in ${TRAFFIC:-idle changing}; do
    [ "$t" = changing ] && start_traffic
    measure "$n" "$t"
    if [ "$t" = changing ]; then
      kill "$traffic"
      wait "$traffic" 2>/dev/null || true
    fi
  done
done
