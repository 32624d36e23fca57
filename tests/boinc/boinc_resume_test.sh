#!/usr/bin/env bash
# dlslab-boinc in standalone mode (no client): a work unit killed with kill -9 at random moments
# and started again each time ends with the same result file as an uninterrupted run and as
# dlslab-cli search over the same seeds (or the same chunk of an input file); chunk units merged
# give the search over the whole file.
# usage: boinc_resume_test.sh DLSLAB_CLI DLSLAB_BOINC
set -euo pipefail
cli=$(realpath "$1")
app=$(realpath "$2")
work=$(mktemp -d /tmp/dlslab-boinc-resume.XXXXXX)
trap 'rm -rf "$work"' EXIT
seeds=${DLSLAB_BOINC_SEEDS:-1:100000}

# Runs the work unit in the current folder, killing it with kill -9 after FROM to FROM + SPAN
# milliseconds of each start (default 400 and 600; FROM + SPAN below 1000), while it checkpoints
# every CHECKPOINT seconds (default 0.2), until it has written its result; sets kills and
# resumed.
kill_until_done() {
  local from=${1:-400} span=${2:-600} checkpoint=${3:-0.2}
  kills=0
  for _ in $(seq 60); do
    "$app" --checkpoint-seconds "$checkpoint" &
    pid=$!
    sleep "$(printf '0.%03d' $((from + RANDOM % span)))"
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
  [ "$kills" -eq 0 ] || [ "$resumed" -ge 1 ] || { echo "no start resumed"; exit 1; }
}

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

# Units of chunks of one input file: 4,800 squares, every other one with mates (the brown
# generator's hits among its first 3,000 squares, over and over). The file is sent as the logical
# name "squares" and the results call it chunks.txt, as dlslab-cli search --input chunks.txt does.
mkdir "$work/chunks"
cd "$work/chunks"
"$cli" search --generator brown --seeds 0:3000 2>/dev/null | grep -v '^#' | tail -n +2 | cut -f2 >hits
"$cli" generate 2400 --seed 9 >plain
: >many
while [ "$(wc -l <many)" -lt 2400 ]; do cat hits >>many; done
head -n 2400 many | paste -d '\n' plain - >chunks.txt
"$cli" search --input chunks.txt --output whole.tsv 2>/dev/null
for k in 1 2 3 4; do
  mkdir "unit$k"
  ln -s ../chunks.txt "unit$k/squares"
  printf 'dlslab work unit\ninput squares\nname chunks.txt\nchunk %s/4\n' "$k" >"unit$k/work_unit"
done
for k in 1 2 3 4; do (cd "unit$k" && "$app") & done
wait
"$cli" merge --output merged.tsv unit3/result unit1/result unit4/result unit2/result 2>/dev/null
if cmp -s merged.tsv whole.tsv; then
  echo "boinc standalone: 4 chunk units of $(wc -l <chunks.txt) squares merged and dlslab-cli search --input: $(grep -c '^chunks.txt:' whole.tsv) hits, $(wc -c <whole.tsv) bytes, identical"
else
  echo "boinc standalone: 4 chunk units merged and dlslab-cli search --input DIFFER"
  diff merged.tsv whole.tsv | head; exit 1
fi

# Chunk 2/4 killed with kill -9 at random moments, against the uninterrupted unit and the
# search of the same chunk. Its squares take about half a second: the kills come within it.
mkdir killed
ln -s ../chunks.txt killed/squares
cp unit2/work_unit killed/
"$cli" search --chunk 2/4 --input chunks.txt --output chunk2.tsv 2>/dev/null
(cd killed && kill_until_done 30 300 0.03 && echo "boinc standalone: chunk 2/4: $kills kills with kill -9, $resumed starts resumed from a checkpoint")
for file in unit2/result killed/result; do
  if cmp -s "$file" chunk2.tsv; then
    echo "boinc standalone: $file and dlslab-cli search --chunk 2/4: $(wc -c <chunk2.tsv) bytes, identical"
  else
    echo "boinc standalone: $file and dlslab-cli search --chunk 2/4 DIFFER"; diff "$file" chunk2.tsv | head; exit 1
  fi
done
cd "$work"

"$cli" search --seeds "$seeds" --output "$work/cli.tsv" 2>/dev/null
for d in whole killed; do
  mkdir "$work/$d"
  printf 'dlslab work unit\ngenerator rsv3\nseeds %s\n' "$seeds" >"$work/$d/work_unit"
done
(cd "$work/whole" && "$app")

(cd "$work/killed" && kill_until_done &&
  echo "boinc standalone: $kills kills with kill -9, $resumed starts resumed from a checkpoint")

for pair in "whole/result cli.tsv" "killed/result cli.tsv"; do
  set -- $pair
  if cmp -s "$work/$1" "$work/$2"; then
    echo "boinc standalone: $1 and dlslab-cli search $seeds: $(wc -c <"$work/$2") bytes, identical"
  else
    echo "boinc standalone: $1 and dlslab-cli search $seeds DIFFER"; diff "$work/$1" "$work/$2" | head; exit 1
  fi
done
