#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs each for a bounded time from the seed
# corpus in tests/fuzz/corpus. Usage: scripts/fuzz.sh [seconds per target]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"

scripts/install-deps.sh clang libclang-rt-14-dev

rm -rf build/fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$(nproc)" --target fuzz_IfTable fuzz_Pictures fuzz_SettingsStore

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
for pair in IfTable:iftable Pictures:pictures SettingsStore:settings; do
  target="${pair%%:*}" corpus="${pair##*:}"
  work="build/fuzz/corpus-$corpus"
  mkdir -p "$work" build/fuzz/artifacts
  echo "-- fuzz_$target for ${seconds}s"
  status=0
  "build/fuzz/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix=build/fuzz/artifacts/ "$work" "tests/fuzz/corpus/$corpus" >"$work.log" 2>&1 || status=$?
  grep -E '^(stat::number_of_executed_units|stat::new_units_added|==|SUMMARY)|runtime error|Test unit written' \
    "$work.log" || true
  if [ "$status" -ne 0 ]; then
    tail -n 60 "$work.log"
    exit "$status"
  fi
done
echo "fuzzing found nothing"
