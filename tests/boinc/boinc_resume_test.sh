#!/usr/bin/env bash
# dlslab-boinc in standalone mode (no client): a work unit killed with kill -9 at random moments
# and started again each time ends with the same result file as an uninterrupted run and as
# dlslab-cli search over the same seeds.
# usage: boinc_resume_test.sh DLSLAB_CLI DLSLAB_BOINC
set -euo pipefail
cli=$(realpath "$1")
app=$(realpath "$2")
work=$(mktemp -d /tmp/dlslab-boinc-resume.XXXXXX)
trap 'rm -rf "$work"' EXIT
seeds=${DLSLAB_BOINC_SEEDS:-1:30000}

# A work unit it cannot read ends the task with status 1 and the reason in stderr.txt.
mkdir "$work/bad"
printf 'dlslab work unit\nseeds 5\n' >"$work/bad/work_unit"
status=0
(cd "$work/bad" && "$app") || status=$?
grep -q 'Work unit line 2: seeds are FIRST:COUNT' "$work/bad/stderr.txt" && [ $status -eq 1 ] ||
  { echo "a bad work unit gave status $status:"; cat "$work/bad/stderr.txt"; exit 1; }
[ ! -e "$work/bad/result" ] || { echo "a bad work unit left a result"; exit 1; }
echo "boinc standalone: a bad work unit ends with status 1 and its reason"

# A unit of input squares with mates (the catalogue's Fish and Loop-4), against the search over
# the same file under the same name.
mkdir "$work/input"
for square in Fish Loop-4; do "$cli" "$square" "As solid string" | cut -c6-; done >"$work/input/squares"
printf 'dlslab work unit\ninput squares\nchunk 1/1\n' >"$work/input/work_unit"
(cd "$work/input" && "$app" && "$cli" search --input squares --output cli.tsv 2>/dev/null)
hits=$(grep -c '^squares:' "$work/input/result" || true)
if cmp -s "$work/input/result" "$work/input/cli.tsv" && [ "$hits" = 2 ]; then
  echo "boinc standalone: a unit of 2 input squares: $hits hits, identical to dlslab-cli search --input"
else
  echo "boinc standalone: the input unit ($hits hits) and dlslab-cli search --input DIFFER"
  diff "$work/input/result" "$work/input/cli.tsv" | head; exit 1
fi

"$cli" search --seeds "$seeds" --output "$work/cli.tsv" 2>/dev/null
for d in whole killed; do
  mkdir "$work/$d"
  printf 'dlslab work unit\ngenerator rsv3\nseeds %s\n' "$seeds" >"$work/$d/work_unit"
done
(cd "$work/whole" && "$app")

# Each start runs for 0.4 to 1 s before it is killed, checkpointing every 0.2 s.
kills=0 resumed=0
cd "$work/killed"
for _ in $(seq 60); do
  "$app" --checkpoint-seconds 0.2 &
  pid=$!
  sleep "$(printf '0.%03d' $((400 + RANDOM % 600)))"
  if kill -9 "$pid" 2>/dev/null; then
    wait "$pid" 2>/dev/null || true
    [ -e result ] && break  # killed in boinc_finish's last seconds: the result is written
    kills=$((kills + 1))
  else
    wait "$pid" || { echo "dlslab-boinc failed:"; cat stderr.txt; exit 1; }
    break
  fi
done
[ -e result ] || { echo "the unit did not finish after $kills kills"; exit 1; }
resumed=$(grep -c "resuming from the last checkpoint" stderr.txt || true)
echo "boinc standalone: $kills kills with kill -9, $resumed starts resumed from a checkpoint"
[ "$kills" -eq 0 ] || [ "$resumed" -ge 1 ] || { echo "no start resumed"; exit 1; }

for pair in "whole/result cli.tsv" "killed/result cli.tsv"; do
  set -- $pair
  if cmp -s "$work/$1" "$work/$2"; then
    echo "boinc standalone: $1 and dlslab-cli search $seeds: $(wc -c <"$work/$2") bytes, identical"
  else
    echo "boinc standalone: $1 and dlslab-cli search $seeds DIFFER"; diff "$work/$1" "$work/$2" | head; exit 1
  fi
done
