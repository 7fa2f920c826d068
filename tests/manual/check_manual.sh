#!/bin/sh
# The manual page renders without a single warning from man and groff, and its header names the version
# being built. Usage: check_manual.sh PAGE VERSION
set -u
page=$1
version=$2
warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
status=$?
if [ "$status" -ne 0 ] || [ -n "$warnings" ]; then
  echo "man --warnings -l $page (status $status):"
  echo "$warnings"
  exit 1
fi
if ! grep -q "^\.TH PELKWARDT 1 [^ ]* \"pelkwardt $version\"" "$page"; then
  echo "$page: the .TH line does not name pelkwardt $version"
  exit 1
fi
echo "$page renders without warnings, version $version"
