#!/usr/bin/env bash
# The bash completion of dlslab-cli, driven as readline drives it: COMP_LINE and COMP_POINT
# set, the function called, COMPREPLY compared. usage: completion_test.sh COMPLETION DLSLAB_CLI
set -uo pipefail
# shellcheck source=/dev/null
source "$1"
cli=$2
faults=0
work=$(mktemp -d "${TMPDIR:-/tmp}/dlslab_completion_XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/folder"
touch "$work/squares.txt"
cd "$work" || exit 1

# complete LINE: the replies for the line with the cursor at its end, one a line.
complete_line() {
  COMP_LINE="$cli $1"
  COMP_POINT=${#COMP_LINE}
  COMPREPLY=()
  _dlslab_cli
  printf '%s\n' "${COMPREPLY[@]}"
}
# expect LINE REPLY...: the replies are exactly these (sorted).
expect() {
  local line=$1 got want
  shift
  got=$(complete_line "$line" | sort)
  want=$(printf '%s\n' "$@" | sort)
  if [[ $got != "$want" ]]; then
    echo "FAULT: '$line' completes to [${got//$'\n'/|}], not [${want//$'\n'/|}]"
    faults=$((faults + 1))
  fi
}
# expect_has LINE REPLY...: these are among the replies.
expect_has() {
  local line=$1 got r
  shift
  got=$(complete_line "$line")
  for r in "$@"; do
    if ! grep -qxF -- "$r" <<<"$got"; then
      echo "FAULT: '$line' does not offer '$r' (offers ${got//$'\n'/|})"
      faults=$((faults + 1))
    fi
  done
}
expect_not() {
  local line=$1 got r
  shift
  got=$(complete_line "$line")
  for r in "$@"; do
    if grep -qxF -- "$r" <<<"$got"; then
      echo "FAULT: '$line' offers '$r'"
      faults=$((faults + 1))
    fi
  done
}

expect "--s" --seed --square --status
expect "--seed 5 --sq" --square
expect "ba" batch Bachelor Backward
expect "Fish get\ odls" "Get ODLS" "Get ODLS type"
expect '"get odls t' "Get ODLS type"
expect 'Get\ ODLS\ t' "Get ODLS type"
expect "'Rotate +" "Rotate +90 (clockwise)"
expect_has "Loa" "Load from file..." "Load collection..."
expect "1:" 3 4 5 6 7 8 "10 based" " (i, j, a) -> (i, a, j)"
expect '"1:1' "1:10 based"
expect "X" XO=74
expect_not "" "Research mode" "Exit" "Diagnostics"
expect_has "" batch generate "New game" "Play game number..." Fish
expect_not "Fish " batch generate
expect '"Load from file..." sq' squares.txt
expect 'Find\ square\ in\ folder fo' folder
expect '"Play game number..." ' ''
expect "--seed " ''
expect "batch --th" --threads
expect "batch --format " collection tsv
expect "batch --format t" tsv
expect_has "batch " cf scf odls type transversals properties fillings validate
expect "batch --threads 2 od" odls
expect "batch odls sq" squares.txt
expect "batch --output o.txt cf sq" squares.txt
expect_has "generate --" --seed --threads --output
if "$cli" search --help >/dev/null 2>&1; then
  expect_has "search --" --seeds --output --resume
  expect_has "search --generator " rsv3
  expect "search --generator rs" rsv3
  expect_has "merge --" --output --forms
fi

echo "completion: $faults fault(s)"
((faults == 0))
