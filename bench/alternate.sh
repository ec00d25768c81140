#!/usr/bin/env bash
# Compares builds of the program by their CPU with changing traffic, one at a
# time, taking turns: copies run side by side change each other's costs and
# cannot resolve a change of a few per cent. Each round runs every build once
# through whole-process.sh (10 interfaces, changing traffic, nload beside it)
# and prints its Tallyflow CPU and the ratio to nload's; the last line gives
# each build's mean CPU.
#   bench/alternate.sh ROUNDS SECONDS WARM-UP-SECONDS BUILD...
# A BUILD is an executable named tallyflow (its settings go by that name), or
# one of the floor programs (build/bench/bench/floor_*), to hold it against.
set -euo pipefail
cd "$(dirname "$0")/.."
[ "$#" -gt 3 ] || { echo "usage: $0 rounds seconds warm-up BUILD..." >&2; exit 1; }
rounds=$1 seconds=$2 warmup=$3
shift 3
declare -A sum
for round in $(seq "$rounds"); do
  line="round $round:"
  for exe in "$@"; do
    # The row's third column is Tallyflow's CPU, "0.55 %"; the fifth the
    # ratio to nload's.
    row=$(TALLYFLOW_EXE="$exe" COUNTS=10 TRAFFIC=changing bench/whole-process.sh "$seconds" "$warmup" |
      awk -F'|' '$3 ~ /changing/')
    cpu=$(awk -F'|' '{gsub(/[ %]/, "", $4); print $4}' <<<"$row")
    line+=" $exe $cpu % (ratio$(awk -F'|' '{print $6}' <<<"$row"))"
    sum[$exe]=$(awk -v a="${sum[$exe]:-0}" -v b="$cpu" 'BEGIN {print a + b}')
  done
  echo "$line"
done
line="mean:"
for exe in "$@"; do
  line+=" $exe $(awk -v a="${sum[$exe]}" -v n="$rounds" 'BEGIN {printf "%.3f", a / n}') %"
done
echo "$line"
