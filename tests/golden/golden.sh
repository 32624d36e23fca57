#!/usr/bin/env bash
# Runs every command of the command table through dlslab-cli on a fixed set of squares and
# prints the whole log. The stored output (commands.golden beside this script) is the same on
# every build: a difference means a result depends on how the program was built, or a command's
# output changed.
#
#   golden.sh CLI            compare with commands.golden (exit 1 and a diff when they differ)
#   golden.sh CLI --update   write commands.golden anew
set -uo pipefail
cli=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
stored="$here/commands.golden"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The starting points: two DLS, a random DLS, a special square with mates, that square shown
# with its first mate (pair view), a dealt crossword (a partial square) and an order-7 square.
setups=(
  "bachelor|--square|0123456789120453986735618740929478321605273098514668592473104697013258704619852383156029745982760431"
  "cf-square|--square|0123456789120457986350163982479358217406463578092184691325707890645132294780361565710243983782961054"
  "random|--square|4513627980278931406534501827961026743859530189627472945306180862479531694705812391382654078675901342"
  "fish|Fish"
  "fish-pair|Fish|Get ODLS"
  "deal|--seed|5|Random search v3|Random"
  "order7|Set order|7|Ascending fill first string"
)

# Commands that take what the user picks, or whose output depends on the time or the machine
# (the benchmarks time external programs; the statistics picture needs the window's fonts).
skip='^(Search ODLS|Load from file|Save as bmp|Load collection|Find square in folder|Import square|Import pair|Set order|Save to file|Play game number|Draw statistical info)(\.\.\.)?$|generation|DLX v2'

mapfile -t commands < <("$cli" --list | grep -v -e '(window only)' -e '(not available)' |
  sed -E 's/ (FILE|TEXT|N|NUMBER|FOLDER)$//')

run() {
  local name=$1 setup=$2 command=$3
  local -a args=()
  IFS='|' read -r -a args <<<"$setup"
  echo "=== $name: $command"
  (cd "$work" && timeout 120 "$cli" --status --seed 1 "${args[@]}" "$command" 2>/dev/null)
  echo "[exit $?]"
  for f in "$work"/*; do
    [ -e "$f" ] || continue
    echo "[file $(basename "$f"): $(md5sum <"$f" | cut -c1-32)]"
    rm -f "$f"
  done
}

# One job a starting point, each in a folder of its own; the log is put together in order.
out="$work.out"
i=0
for s in "${setups[@]}"; do
  name=${s%%|*}
  setup=${s#*|}
  mkdir -p "$work/$i"
  (
    work="$work/$i"
    for c in "${commands[@]}"; do
      [[ $c =~ $skip ]] && continue
      run "$name" "$setup" "$c"
    done
  ) >"$work.$i" &
  i=$((i + 1))
done
wait
for ((k = 0; k < i; k++)); do cat "$work.$k"; rm -f "$work.$k"; done >"$out"

if [ "${2:-}" = "--update" ]; then
  mv "$out" "$stored"
  echo "wrote $stored"
  exit 0
fi
# A command added since the stored log was written is not compared until the log is renewed.
awk 'NR == FNR { if (/^=== /) known[$0] = 1; next }
     /^=== / { keep = ($0 in known) }
     keep' "$stored" "$out" >"$out.known"
mv "$out.known" "$out"
if ! diff -u "$stored" "$out" >"$work.diff"; then
  head -n 80 "$work.diff"
  echo "The commands' output differs from tests/golden/commands.golden."
  echo "If the change is intended, run: tests/golden/golden.sh build/src/dlslab-cli --update"
  rm -f "$out" "$work.diff"
  exit 1
fi
rm -f "$out" "$work.diff"
echo "golden output: identical"
