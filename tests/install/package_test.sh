#!/usr/bin/env bash
# The Debian package made from this build: every dependency is a package Debian has (installed,
# or installable from the configured sources, at the version asked), the extracted package runs
# dlslab-cli from its PATH at the version the package carries, the menu entry and its icon are
# in place, and lintian finds no error.
# usage: package_test.sh BUILD_DIR APP_ID WITH_APP
set -euo pipefail
build=$1 id=$2 with_app=$3
tmp=$(mktemp -d "${TMPDIR:-/tmp}/dlslab_package_XXXXXX")
trap 'rm -rf "$tmp"' EXIT
faults=0
fault() {
  echo "FAULT: $*"
  faults=$((faults + 1))
}

"${CPACK:-cpack}" --config "$build/CPackConfig.cmake" -G DEB -B "$tmp/out" >"$tmp/cpack.log" 2>&1 || {
  cat "$tmp/cpack.log"
  exit 1
}
deb=$(ls "$tmp"/out/dlslab_*.deb)
dpkg-deb -f "$deb" Package Version Section Depends Recommends

# Every Depends entry: one of its alternatives is a Debian package at a version it accepts.
version_of() {  # the installed version, else the candidate from the configured sources
  local v
  v=$(dpkg-query -W -f='${Version}' "$1" 2>/dev/null || true)
  [[ -n $v ]] || v=$(apt-cache policy "$1" 2>/dev/null | awk '/Candidate:/ { print $2 }')
  [[ $v == "(none)" ]] && v=""
  printf '%s' "$v"
}
depends=$(dpkg-deb -f "$deb" Depends)
[[ $depends == *libc6* && $depends == *libstdc++6* ]] || fault "Depends lacks the C and C++ libraries: $depends"
if ((with_app)); then
  [[ $depends == *libqt6widgets6* && $depends == *libqt6gui6* ]] || fault "Depends lacks Qt: $depends"
fi
IFS=',' read -ra entries <<<"$depends"
for entry in "${entries[@]}"; do
  ok=0
  IFS='|' read -ra alternatives <<<"$entry"
  for alternative in "${alternatives[@]}"; do
    read -r name constraint <<<"$alternative"
    have=$(version_of "$name")
    [[ -n $have ]] || continue
    if [[ -n ${constraint-} ]]; then
      read -r op wanted <<<"${constraint//[()]/}"
      dpkg --compare-versions "$have" "$op" "$wanted" || continue
    fi
    ok=1
  done
  ((ok)) || fault "no Debian package satisfies \"${entry# }\""
done

# The extracted package: dlslab-cli from the PATH, at the package's version.
dpkg-deb -x "$deb" "$tmp/root"
version=$(dpkg-deb -f "$deb" Version)
mkdir "$tmp/elsewhere"
cd "$tmp/elsewhere"
found=$(PATH="$tmp/root/usr/bin:$PATH" command -v dlslab-cli)
[[ $found == "$tmp/root/usr/bin/dlslab-cli" ]] || fault "dlslab-cli on the PATH is $found"
out=$(PATH="$tmp/root/usr/bin:$PATH" dlslab-cli --version | head -1)
[[ $out == "dlslab-cli $version" ]] || fault "--version says \"$out\", the package $version"
out=$("$tmp/root/usr/libexec/dlslab/runb10" 1)
[[ $out == "runb10: 1 squares searched, "* ]] || fault "the packaged runb10 printed: $out"
for f in usr/share/man/man1/dlslab-cli.1.gz usr/share/bash-completion/completions/dlslab-cli \
  usr/share/doc/dlslab/copyright usr/share/doc/dlslab/changelog.gz; do
  [[ -f $tmp/root/$f ]] || fault "not in the package: $f"
done

if ((with_app)); then
  desktop=$tmp/root/usr/share/applications/$id.desktop
  if [[ -f $desktop ]]; then
    exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
    icon=$(sed -n 's/^Icon=//p' "$desktop")
    [[ -x $tmp/root/usr/bin/$exec_name ]] || fault "the menu entry starts $exec_name, not in usr/bin"
    # The window starts and keeps running (off-screen) until it is stopped.
    status=0
    QT_QPA_PLATFORM=offscreen timeout 3 "$tmp/root/usr/bin/$exec_name" >/dev/null 2>&1 || status=$?
    ((status == 124)) || fault "the packaged $exec_name ended with status $status instead of running"
    for size in scalable 16x16 48x48 256x256; do
      ls "$tmp/root/usr/share/icons/hicolor/$size/apps/$icon".* >/dev/null 2>&1 ||
        fault "no $size icon $icon"
    done
  else
    fault "no menu entry $id.desktop"
  fi
  metainfo=$tmp/root/usr/share/metainfo/$id.metainfo.xml
  grep -q "<release version=\"$version\"" "$metainfo" || fault "the metainfo has no release $version"
  [[ -f $tmp/root/usr/share/man/man6/dlslab.6.gz ]] || fault "not in the package: dlslab.6.gz"
  # The metainfo, the desktop entry it launches and the icon, as software centres read them.
  if command -v appstreamcli >/dev/null; then
    appstreamcli validate-tree --no-net --explain "$tmp/root" || fault "appstreamcli validate-tree failed"
  fi
fi

if command -v lintian >/dev/null; then
  echo "lintian:"
  lintian --fail-on error "$deb" || fault "lintian reports errors"
fi
echo "package: $faults fault(s)"
((faults == 0))
