#!/usr/bin/env bash
# Builds the release packages: the Debian package from a Linux release build in build/pkg-linux, and
# the zip holding PELKWARDT.EXE from a Windows cross build in build/pkg-windows. Prints the path of
# each package. Needs the packages of scripts/packages.txt (dpkg-dev and file for the Debian package's
# dependencies, MinGW-w64 for the Windows build).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

build_package() {
  local build=$1
  shift
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DPELKWARDT_BUILD_TESTS=OFF "$@" >/dev/null
  cmake --build "$build" -j"$jobs" --target pelkwardt >/dev/null
  # A package left by an earlier run would otherwise be reported as well.
  rm -f "$build"/pelkwardt_*.deb "$build"/pelkwardt-*.zip
  (cd "$build" && cpack >/dev/null)
}

# Statically linked, the tool starts twice as fast: most of a short run goes to the dynamic loader.
build_package build/pkg-linux -DPELKWARDT_STATIC=ON
build_package build/pkg-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake

for package in build/pkg-linux/pelkwardt_*.deb build/pkg-windows/pelkwardt-*.zip; do
  [ -f "$package" ] || { echo "package.sh: no package in ${package%/*}" >&2; exit 1; }
  echo "$PWD/$package"
done
