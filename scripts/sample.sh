#!/usr/bin/env bash
# Builds the tool and runs it once on a sample log that has reached its limit, showing the directory
# before and after the rotation.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/linux -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/linux -j"$(nproc)" --target pelkwardt >/dev/null
tool=$PWD/build/linux/pelkwardt

sample=$(mktemp -d)
trap 'rm -rf "$sample"' EXIT
cd "$sample"
head -c 2200000 /dev/zero > Vorbank.LOG
for slot in 1 2 3; do echo "generation $slot" > "Vorbank_0000$slot.LOG"; done
echo "before:"; ls -l
"$tool" Vorbank.LOG 3 2 1% && status=0 || status=$?
echo "pelkwardt Vorbank.LOG 3 2 1% -> exit status $status"
echo "after:"; ls -l
