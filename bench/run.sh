#!/usr/bin/env bash
# Builds the release binary and times it against its baselines: a static C program that only exits,
# logrotate, and a C loop of stat calls. Prints a table of medians and ratios (see bench/bench.py).
# Installs the Debian packages of bench/packages.txt that are missing when run as root.
#   bash bench/run.sh            BENCH_ROUNDS=20 bash bench/run.sh
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

bash scripts/install_missing_packages.sh bench/packages.txt

# The release binary is linked statically: a short run spends most of its time in the dynamic loader
# otherwise. The default, dynamically linked build is timed beside it for comparison, and is the one
# valgrind can count allocations in.
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DPELKWARDT_STATIC=ON -DPELKWARDT_BUILD_TESTS=OFF >/dev/null
cmake --build build/release -j"$jobs" --target pelkwardt >/dev/null
cmake -S . -B build/release-dynamic -DCMAKE_BUILD_TYPE=Release -DPELKWARDT_BUILD_TESTS=OFF >/dev/null
cmake --build build/release-dynamic -j"$jobs" --target pelkwardt >/dev/null
mkdir -p build/release/bench
cc -O2 -static -o build/release/bench/floor bench/floor.c
cc -O2 -static -Wall -Wextra -Werror -o build/release/bench/stat_loop bench/stat_loop.c

exec python3 -B bench/bench.py --tool build/release/pelkwardt --dynamic build/release-dynamic/pelkwardt \
  --floor build/release/bench/floor --stat-loop build/release/bench/stat_loop --reset bench/reset.sh
