#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang and runs each for SECONDS (default 30) on a copy of
# its seed corpus in build/fuzz, so the repository's corpus stays as committed. Fails on the first
# crash, sanitizer finding or broken property, printing that target's log; the input that caused it is
# saved under build/fuzz/artifacts/<target>/ and replays with build/fuzz/fuzz/<target> <file>.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
jobs=$(nproc)
build=build/fuzz

cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPELKWARDT_FUZZ=ON -DPELKWARDT_BUILD_TESTS=OFF
cmake --build "$build" -j"$jobs" --target fuzz_targets

export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:print_stacktrace=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=halt_on_error=1:abort_on_error=1:print_stacktrace=1
if [ -x /usr/lib/llvm-14/bin/llvm-symbolizer ]; then
  export ASAN_SYMBOLIZER_PATH=/usr/lib/llvm-14/bin/llvm-symbolizer
fi

for seeds in fuzz/corpus/*/; do
  target=$(basename "$seeds")
  corpus="$build/corpus/$target"
  artifacts="$build/artifacts/$target"
  rm -rf "$corpus"
  mkdir -p "$corpus" "$artifacts"
  cp "$seeds"* "$corpus"/
  log="$build/$target.log"
  echo "== $target: $seconds s (log: $log)"
  # libFuzzer reports every new input; the log keeps that, the console gets the summary or the failure.
  if ! "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$corpus" >"$log" 2>&1; then
    cat "$log"
    echo "$target failed; the input is in $artifacts/" >&2
    exit 1
  fi
  grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$log"
done
