#!/usr/bin/env bash
# Whole-process cost of the real window against nload, side by side in one
# run: CPU time over a minute at 100 and 200 ms with 10 and 1,000 interfaces,
# and Tallyflow's resident memory. Runs inside a private network namespace
# (as root) that holds the interfaces; needs the program built in build/app
# (scripts/run.sh builds it), Xvfb, xdotool, nload and tmux.
#   bench/whole-process.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
exe="$PWD/build/app/src/app/tallyflow"
[ -x "$exe" ] || { echo "build the program first: scripts/run.sh builds build/app" >&2; exit 1; }

if [ "${TALLYFLOW_IN_NAMESPACE:-}" != 1 ]; then
  exec unshare -n env TALLYFLOW_IN_NAMESPACE=1 "$0" "$@"
fi
ip link set lo up

ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }  # utime + stime, clock ticks
rss_kib() { awk '/^VmRSS/ {print $2}' "/proc/$1/status"; }
hz=$(getconf CLK_TCK)
links=1
make_links() { # up to $1 links in all
  local file; file=$(mktemp)
  while [ "$links" -lt "$1" ]; do echo "link add w$links type veth peer name x$links" >>"$file"; links=$((links + 2)); done
  ip -batch "$file"; rm -f "$file"
}

work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; tmux kill-server 2>/dev/null; rm -rf "$work"' EXIT
Xvfb :77 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
sleep 1

printf '\n| interfaces | interval | Tallyflow CPU | nload CPU | ratio | Tallyflow RSS after warm-up -> end |\n|---|---|---|---|---|---|\n'
for n in 10 1000; do
  make_links "$n"
  for interval in 100 200; do
    mkdir -p "$work/cfg/Quorrin Software"
    printf '[Main]\nUpdateInterval=%s\n' "$interval" >"$work/cfg/Quorrin Software/tallyflow.conf"
    DISPLAY=:77 XDG_CONFIG_HOME="$work/cfg" XDG_RUNTIME_DIR="$work" "$exe" &
    app=$!
    tmux new-session -d -s nl -x 200 -y 50 "nload -t $interval -m"
    sleep 5 # warm-up
    nl=$(pgrep -x nload | head -n1)
    a0=$(ticks "$app") n0=$(ticks "$nl") r0=$(rss_kib "$app")
    sleep "$seconds"
    a1=$(ticks "$app") n1=$(ticks "$nl") r1=$(rss_kib "$app")
    kill "$app"; tmux kill-session -t nl
    wait "$app" 2>/dev/null || true
    awk -v a=$((a1 - a0)) -v b=$((n1 - n0)) -v s="$seconds" -v hz="$hz" -v n="$n" -v i="$interval" -v r0="$r0" -v r1="$r1" \
      'BEGIN { ta = 100 * a / hz / s; tb = 100 * b / hz / s;
               printf "| %d | %d ms | %.2f %% | %.2f %% | %s | %.1f -> %.1f MiB |\n", n, i, ta, tb,
                      (b > 0 ? sprintf("%.2f", a / b) : "n/a"), r0 / 1024, r1 / 1024 }'
  done
done
