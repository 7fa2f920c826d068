#!/usr/bin/env bash
# Builds the tool for Linux and for Windows and runs every test: the unit tests and the end-to-end
# suite against the real binary, natively and as PELKWARDT.EXE under Wine; then builds the release
# packages and checks them.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

bash scripts/install_missing_packages.sh scripts/packages.txt

cmake -S . -B build/linux -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/linux -j"$jobs"
ctest --test-dir build/linux --output-on-failure

# The same suites once more with AddressSanitizer and UBSan: any finding aborts the process under test,
# which shows as a failed case (a wrong status and text on standard error). LeakSanitizer checks the unit
# suite only: it stops the process's threads with ptrace at exit, which cannot work where the tool already
# runs traced (the concurrency cases run it under strace) and may be refused inside `unshare -rm`; it then
# aborts a run that leaked nothing. The unit suite drives the same logic in-process.
cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELKWARDT_SANITIZE=ON
cmake --build build/asan -j"$jobs"
asan_options=halt_on_error=1:abort_on_error=1:print_stacktrace=1:detect_stack_use_after_return=1
asan_options+=:check_initialization_order=1:strict_init_order=1
export UBSAN_OPTIONS=halt_on_error=1:abort_on_error=1:print_stacktrace=1
ASAN_OPTIONS=$asan_options:detect_leaks=1 ctest --test-dir build/asan --output-on-failure -R '^unit$'
ASAN_OPTIONS=$asan_options:detect_leaks=0 ctest --test-dir build/asan --output-on-failure -E '^unit$'
unset UBSAN_OPTIONS

# Each libFuzzer target for a bounded time on a copy of its seed corpus.
bash scripts/fuzz.sh 30

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

# The release packages: the Debian package installed, run and removed again on this machine (as root),
# and the Windows zip's contents.
bash scripts/package.sh
bash scripts/check_packages.sh
