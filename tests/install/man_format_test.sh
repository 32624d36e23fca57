#!/bin/sh
# The manual pages format without a warning from groff (lintian reads them the same way).
# usage: man_format_test.sh PAGE...
status=0
for page in "$@"; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
  if [ -n "$warnings" ]; then
    echo "$page: $warnings"
    status=1
  fi
done
exit $status
