#!/usr/bin/env bash
# Batch cf and odls over N random order-10 DLS (default 1,000,000, seed 1) with 1 and 2
# threads, each beside the single-square engine rate measured in the same run.
#
#   bench/batch_run.sh [BUILD_DIR] [N]
#   BATCH_SQUARES=FILE bench/batch_run.sh [BUILD_DIR]   (the squares of FILE instead)
#
# Prints, per run: squares per second (wall clock), user and system CPU seconds, peak resident
# memory, and the load average of the machine before the run (the figures are only as good as
# the machine was quiet). Needs GNU time (/usr/bin/time, Debian package "time").
set -euo pipefail
build=${1:-build}
count=${2:-1000000}
cli="$build/src/dlslab-cli"
bench="$build/bench/dlslab_bench"
[ -x "$cli" ] || { echo "no $cli: build dlslab-cli first" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "no /usr/bin/time: install the Debian package time" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

grep -m1 "model name" /proc/cpuinfo || true
echo "processors: $(nproc)"

if [ -n "${BATCH_SQUARES:-}" ]; then
  # A file made by an earlier run (generate N --seed 1), to skip the generation.
  echo "== squares from $BATCH_SQUARES"
  ln -s "$(realpath "$BATCH_SQUARES")" "$work/squares.txt"
  count=$(wc -l <"$BATCH_SQUARES")
else
  echo "== generating $count squares (seed 1)"
  /usr/bin/time -f "   %e s wall, %U s user" "$cli" generate "$count" --seed 1 \
    --output "$work/squares.txt"
fi

if [ -x "$bench" ]; then
  echo "== single-square engine rates (Google Benchmark, CPU time)"
  "$bench" --benchmark_filter='BM_(CanonicalForm|GetOdls)Engine$' --benchmark_min_time=2 \
    --benchmark_repetitions=3 --benchmark_report_aggregates_only=true 2>/dev/null |
    awk '/_mean|_median/ { for (i = 1; i <= NF; i++) if ($i ~ /items_per_second=/) print "   " $1, $i }'
fi

printf '== batch runs\n%-5s %-7s %10s %10s %9s %9s %9s  %s\n' op threads squares/s wall_s \
  user_s sys_s peak_MB "load average before"
for op in cf odls; do
  for threads in 1 2; do
    load=$(cut -d' ' -f1-3 /proc/loadavg)
    /usr/bin/time -v -o "$work/time.txt" "$cli" batch --threads "$threads" \
      --output "$work/$op.$threads" "$op" "$work/squares.txt" 2>"$work/stderr.txt"
    wall=$(awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, t, ":"); s = 0;
      for (i = 1; i <= n; i++) s = s * 60 + t[i]; print s }' "$work/time.txt")
    user=$(awk -F': ' '/User time/ { print $2 }' "$work/time.txt")
    sys=$(awk -F': ' '/System time/ { print $2 }' "$work/time.txt")
    rss=$(awk -F': ' '/Maximum resident set size/ { printf "%.1f", $2 / 1024 }' "$work/time.txt")
    rate=$(awk -v n="$count" -v s="$wall" 'BEGIN { printf "%.0f", (s > 0 ? n / s : 0) }')
    printf '%-5s %-7s %10s %10s %9s %9s %9s  %s\n' "$op" "$threads" "$rate" "$wall" "$user" \
      "$sys" "$rss" "$load"
    tail -n 1 "$work/stderr.txt" | sed 's/^/      /'
  done
  if cmp -s "$work/$op.1" "$work/$op.2"; then
    echo "      $op: 1 and 2 threads wrote the same file"
  else
    echo "      $op: the outputs of 1 and 2 threads DIFFER"
    exit 1
  fi
  rm -f "$work/$op.1" "$work/$op.2"
done
