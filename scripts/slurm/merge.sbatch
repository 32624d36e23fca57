#!/usr/bin/env bash
# The merge job of a run laid out by scripts/slurm/submit: joins the units' result files, in
# unit order, into the bytes one run over the whole range or input writes.
#SBATCH --ntasks=1
set -euo pipefail
dir=$1
# shellcheck source=/dev/null
source "$dir/run.env"
units=()
for ((k = 1; k <= tasks; k++)); do
  case $kind in
    search) units+=("$dir/units/unit-$k.tsv") ;;
    generate) units+=("$dir/units/unit-$k.txt") ;;
    batch) units+=("$dir/units/chunk-$k") ;;
  esac
done
case $kind in
  search) exec "$cli" merge --output "$dir/result.tsv" --forms "$dir/forms.txt" "${units[@]}" ;;
  batch) exec "$cli" merge --output "$dir/result" "${units[@]}" ;;
  generate)
    # Square i of a run is the one of seed FIRST + i, so the units' files in unit order are the
    # run's file; written under a temporary name and renamed, so a result is always whole.
    cat "${units[@]}" >"$dir/result.txt.partial"
    mv "$dir/result.txt.partial" "$dir/result.txt"
    ;;
esac
