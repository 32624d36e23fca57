#!/usr/bin/env bash
# Thread scaling of the search and of the Python module's bulk calls: 1 against 2 threads in
# the same run, rounds interleaved, the best wall-clock time of each kept.
#
#   bench/search_scaling.sh [BUILD_DIR]      (N=200000 squares per search, PY_N=100000, ROUNDS=3)
#
# Run it on a quiet machine (uptime well below 1): two threads need two idle cores, and any
# other load lands on the 2-thread figure. For each of
#   search --generator rsv3, brown and switch, canonical_forms, mates_counts
# it prints squares per second of wall clock with 1 and 2 threads and their ratio, and for the
# Python calls the rate beside dlslab-cli batch on the same squares (the per-thread baseline).
set -euo pipefail
build=${1:-build}
count=${N:-200000}
py_count=${PY_N:-100000}
rounds=${ROUNDS:-3}
cli="$build/src/dlslab-cli"
[ -x "$cli" ] || { echo "no $cli: build dlslab-cli first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

grep -m1 "model name" /proc/cpuinfo || true
echo "processors: $(nproc); load before: $(cut -d' ' -f1-3 /proc/loadavg); engines: $("$cli" --version | sed -n 2p)"

# Best wall-clock seconds of a command over the rounds is kept in best[label].
declare -A best
run() {
  local label=$1
  shift
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null 2>"$work/stderr" || { cat "$work/stderr" >&2; exit 1; }
  end=$(date +%s.%N)
  best[$label]=$(awk -v s="$start" -v e="$end" -v b="${best[$label]:-1e99}" \
    'BEGIN { t = e - s; print (t < b ? t : b) }')
}

for round in $(seq "$rounds"); do
  for generator in rsv3 brown switch; do
    for threads in 1 2; do
      run "$generator.$threads" "$cli" search --generator "$generator" --seeds "1:$count" \
        --threads "$threads" --output "$work/search.$generator.$threads"
    done
  done
done
for generator in rsv3 brown switch; do
  cmp -s "$work/search.$generator.1" "$work/search.$generator.2" ||
    { echo "search $generator: 1 and 2 threads wrote DIFFERENT outputs"; exit 1; }
done

printf '\n%-26s %12s %12s %8s\n' "search ($count squares)" "1 thread/s" "2 threads/s" "2 vs 1"
for generator in rsv3 brown switch; do
  awk -v n="$count" -v a="${best[$generator.1]}" -v b="${best[$generator.2]}" -v g="$generator" \
    'BEGIN { printf "%-26s %12.0f %12.0f %7.2fx\n", "search --generator " g, n / a, n / b, a / b }'
done

if [ -d "$build/python" ] && PYTHONPATH="$build/python" /usr/bin/python3 -c "import dlslab" 2>/dev/null; then
  echo
  PYTHONPATH="$build/python" /usr/bin/python3 "$(dirname "$0")/python_bulk.py" --cli "$cli" \
    --count "$py_count" --rounds "$rounds" --single-calls 2000
else
  echo "no Python module in $build/python: build the target dlslab_python for its figures"
fi
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
