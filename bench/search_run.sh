#!/usr/bin/env bash
# The search end to end: dlslab-cli search over N seeds (default 200,000) with 1 and 2 threads
# for each generator of GENERATORS (default "rsv3 switch"), beside the pipeline it replaces
# (generate into a file, then batch odls) on rsv3's squares, in the same run, interleaved over
# ROUNDS rounds (default 2), and the end line (the hits) of each generator's search.
#
#   bench/search_run.sh [BUILD_DIR] [N]
#
# Prints per run the squares per second of wall clock and per CPU second (user + system: the
# rate of one busy core, which a loaded machine does not disturb the way it does the wall
# clock), and checks that 1 and 2 threads wrote the same bytes. Needs GNU time (/usr/bin/time).
set -euo pipefail
build=${1:-build}
count=${2:-200000}
rounds=${ROUNDS:-2}
generators=${GENERATORS:-rsv3 switch}
cli="$build/src/dlslab-cli"
[ -x "$cli" ] || { echo "no $cli: build dlslab-cli first" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "no /usr/bin/time: install the Debian package time" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

grep -m1 "model name" /proc/cpuinfo || true
echo "processors: $(nproc); engines: $("$cli" --version | sed -n 2p)"

# Runs a command under GNU time; prints squares/s of wall clock and of CPU time.
measure() {
  local label=$1
  shift
  local load
  load=$(cut -d' ' -f1 /proc/loadavg)
  /usr/bin/time -f "%e %U %S" -o "$work/time" "$@" 2>"$work/stderr" >/dev/null
  read -r wall user sys <"$work/time"
  awk -v n="$count" -v w="$wall" -v u="$user" -v s="$sys" -v l="$label" -v load="$load" \
    'BEGIN { printf "%-28s %10.0f %12.0f %8.2f %8.2f   %s\n", l, (w > 0 ? n / w : 0),
             (u + s > 0 ? n / (u + s) : 0), w, u + s, load }'
}

printf '%-28s %10s %12s %8s %8s   %s\n' run squares/s squares/cpu-s wall_s cpu_s "load before"
for round in $(seq "$rounds"); do
  for generator in $generators; do
    for threads in 1 2; do
      measure "search $generator, $threads thread(s)" "$cli" search --generator "$generator" \
        --seeds "1:$count" --threads "$threads" --output "$work/search.$generator.$threads"
    done
  done
  for threads in 1 2; do
    rm -f "$work/squares.txt" "$work/odls.tsv"
    measure "generate + batch odls, $threads" bash -c "'$cli' generate $count --seed 1 \
      --threads $threads --output '$work/squares.txt' && '$cli' batch --threads $threads \
      --output '$work/odls.tsv' odls '$work/squares.txt'"
  done
done
for generator in $generators; do
  echo "search $generator: $(tail -n 1 "$work/search.$generator.1")"
  cmp -s "$work/search.$generator.1" "$work/search.$generator.2" &&
    echo "search $generator: 1 and 2 threads wrote the same output" ||
    { echo "search $generator: the outputs of 1 and 2 threads DIFFER"; exit 1; }
done
