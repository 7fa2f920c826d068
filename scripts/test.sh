#!/usr/bin/env bash
# Builds the tool for Linux and for Windows and runs every test: the unit tests and the end-to-end
# suite against the real binary, natively and as PELKWARDT.EXE under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

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
cmake --build build/linux -j"$jobs"
ctest --test-dir build/linux --output-on-failure

# One Wine prefix and one resident wineserver for the whole Windows run keep each start quick. Wine's
# background services start with the first program and keep its standard streams open, so they are
# started here, away from the test runner's pipes.
export WINEPREFIX="$PWD/build/wine-prefix" WINEDEBUG=-all
mkdir -p "$WINEPREFIX"
wineserver -p
trap 'wineserver -k || true' EXIT
wine wineboot --init </dev/null >/dev/null 2>&1
cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/windows -j"$jobs"
ctest --test-dir build/windows --output-on-failure
