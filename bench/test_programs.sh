#!/usr/bin/env bash
# Rates of the benchmarks' test programs from the processor time of one copy, the best of
# REPEATS runs (default 3): squares per second of runa9 and runa9pgo, squares searched for
# mates per second of runb10. Processor time rather than the wall clock, so that other work
# on the machine moves the figures less than it moves the "Benchmark" menu's rounds.
#
#   bench/test_programs.sh [BUILD_DIR] [REPEATS]
set -euo pipefail
build=${1:-build}
repeats=${2:-3}
for program in runa9 runa9pgo runb10; do
  work=10000000
  [ "$program" = runb10 ] && work=5000
  best=""
  for ((i = 0; i < repeats; i++)); do
    seconds=$( { /usr/bin/time -f "%U %S" "$build/src/$program" >/dev/null; } 2>&1 | tail -n 1 |
      awk '{ print $1 + $2 }')
    if [ -z "$best" ] || awk -v a="$seconds" -v b="$best" 'BEGIN { exit !(a < b) }'; then
      best=$seconds
    fi
  done
  awk -v p="$program" -v w="$work" -v s="$best" \
    'BEGIN { printf "%-9s %6.2f s  %12.0f squares/s\n", p, s, w / s }'
done
