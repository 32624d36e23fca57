#!/usr/bin/env bash
# Array task K of a run laid out by scripts/slurm/submit: runs work unit K into its own result
# file. The engine resumes from the unit's partial file, so a task that was stopped (time
# limit, preemption, a node lost) and run again goes on where its last durable position was;
# a unit whose result file exists is not run again.
#SBATCH --ntasks=1
set -euo pipefail
dir=$1
# shellcheck source=/dev/null
source "$dir/run.env"
k=${SLURM_ARRAY_TASK_ID:?not an array task}
((k >= 1 && k <= tasks)) || { echo "unit $k: the run has units 1..$tasks" >&2; exit 2; }

first=$((seed_first + (k - 1) * unit))
count=$((seed_count - (k - 1) * unit))
((count <= unit)) || count=$unit
case $kind in
  search)
    out=$dir/units/unit-$k.tsv
    args=(search --seeds "$first:$count" --threads "$cpus" --resume --output "$out")
    [ -z "$generator" ] || args+=(--generator "$generator")
    ;;
  generate)
    # submit refused ranges past generate's seeds 0 to 4294967295.
    out=$dir/units/unit-$k.txt
    args=(generate "$count" --seed "$first" --threads "$cpus" --output "$out")
    ;;
  batch)
    out=$dir/units/chunk-$k
    args=(batch --chunk "$k/$tasks" --threads "$cpus" --resume --output "$out")
    [ -z "$format" ] || args+=(--format "$format")
    args+=("$operation" "${inputs[@]}")
    ;;
esac
if [ -e "$out" ]; then
  echo "unit $k: $out is complete"
  exit 0
fi
exec "$cli" "${args[@]}"
