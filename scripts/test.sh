#!/usr/bin/env bash
# Builds the tool and runs every test: the unit tests and the end-to-end suite against the real binary.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=$(grep -v '^#' scripts/packages.txt)
missing=$(for p in $packages; do dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || echo "$p"; done)
if [ -n "$missing" ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "missing packages: $missing (install them as root)" >&2
    exit 1
  fi
  apt-get update
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing
fi

cmake -S . -B build/linux -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/linux -j"$(nproc)"
ctest --test-dir build/linux --output-on-failure
