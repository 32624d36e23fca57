#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and uses the installed programs from another
# folder: the version, a benchmark finding its test program from the installed layout, and the
# installed files against installed_files.txt.
# usage: install_test.sh BUILD_DIR PREFIX BINDIR TEST_PROGRAM_DIR VERSION FILE_LIST WITH_APP
#                        [PYTHON PYTHON_DIR]
set -euo pipefail
build=$1 prefix=$2 bindir=$3 test_program_dir=$4 version=$5 list=$6 with_app=$7
python=${8:-} python_dir=${9:-}

tmp=$(mktemp -d "${TMPDIR:-/tmp}/dlslab_install_XXXXXX")
trap 'rm -rf "$tmp"' EXIT
faults=0
fault() {
  echo "FAULT: $*"
  faults=$((faults + 1))
}

DESTDIR=$tmp/root "${CMAKE:-cmake}" --install "$build" >"$tmp/install.log" || {
  cat "$tmp/install.log"
  exit 1
}
root=$tmp/root$prefix
cli=$root/$bindir/dlslab-cli

# The installed files, relative to the prefix, against the list (shell patterns; lines tagged
# "app" only when the window is built).
mapfile -t installed < <(cd "$root" && find . \( -type f -o -type l \) | sed 's|^\./||' | sort)
patterns=()
while read -r pattern tag; do
  [[ -z $pattern || $pattern == \#* ]] && continue
  [[ $tag == app && $with_app != 1 ]] && continue
  [[ $tag == python && -z $python ]] && continue
  patterns+=("$pattern")
done <"$list"
for pattern in "${patterns[@]}"; do
  found=0
  for f in "${installed[@]}"; do
    # shellcheck disable=SC2053  # the pattern is a glob on purpose
    [[ $f == $pattern ]] && found=1 && break
  done
  ((found)) || fault "not installed: $pattern"
done
for f in "${installed[@]}"; do
  known=0
  for pattern in "${patterns[@]}"; do
    # shellcheck disable=SC2053
    [[ $f == $pattern ]] && known=1 && break
  done
  ((known)) || fault "installed but not in $(basename "$list"): $f"
done

# Installed programs carry no run path into the build tree.
for f in "$root/$bindir"/* "$root/$test_program_dir"/*; do
  if readelf -d "$f" 2>/dev/null | grep -Eq 'RPATH|RUNPATH'; then fault "run path in $f"; fi
done

mkdir "$tmp/elsewhere"
cd "$tmp/elsewhere"
out=$("$cli" --version)
[[ $out == "dlslab-cli $version"$'\n'"Engines: "* ]] || fault "--version printed: $out"

# The real test program runs from its installed place.
out=$("$root/$test_program_dir/runb10" 2)
[[ $out == "runb10: 2 squares searched, "* ]] || fault "installed runb10 printed: $out"

# A benchmark started from another folder finds its test program in the installed layout; a
# quick stand-in replaces the real one so the rounds take no time.
printf '#!/bin/sh\nexit 0\n' >"$root/$test_program_dir/runb10"
out=$("$cli" "ODLS of order 10 search (DLX v2)...") || fault "benchmark failed: $out"
[[ $out == "Base test"$'\n'*$'\nOK' ]] || fault "benchmark printed: $out"
[[ -s runb10.dat ]] || fault "benchmark wrote no runb10.dat in the current folder"

# Without the installed folder the programs' own folder is tried, as in a build tree.
rm -rf "${root:?}/$test_program_dir"
out=$("$cli" "ODLS of order 10 search (DLX v2)..." 2>&1) && fault "benchmark without its program succeeded"
expected_path=$(realpath "$root/$bindir")/runb10
[[ $out == *"could not be started from \"$expected_path\""* ]] || fault "no test program: $out"

# The installed Python package imports from there, without the build tree.
if [[ -n $python ]]; then
  out=$(PYTHONPATH=$root/$python_dir "$python" -c \
    "import dlslab; print(dlslab.__file__); print(dlslab.odls_type(dlslab.special('Fish')))") ||
    fault "installed Python module failed: $out"
  [[ $out == "$root/$python_dir/dlslab/__init__.py"$'\n'"FISH (N)" ]] ||
    fault "installed Python module printed: $out"
fi

echo "install: $faults fault(s), ${#installed[@]} files installed"
((faults == 0))
