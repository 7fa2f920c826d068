#!/usr/bin/env bash
# Installs the Debian packages of the given list (one a line, # for comments) that are not installed
# yet; as root only, since nothing else may install them.
set -euo pipefail
packages=$(grep -v '^#' "$1")
missing=$(for p in $packages; do dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || echo "$p"; done)
[ -n "$missing" ] || exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "missing packages: $missing (install them as root)" >&2
  exit 1
fi
apt-get update
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing
