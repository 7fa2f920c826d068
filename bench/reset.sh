#!/bin/sh
# Puts a benchmark directory back into its starting state before each timed run (hyperfine's --prepare,
# which is not timed). Every mode empties the directory and then writes the starting files of one
# contender; the two contenders of a case start from the same files under their own names.
#   reset.sh rotation-pelkwardt DIR   Vorbank.LOG and Vorbank_00001.LOG .. Vorbank_00005.LOG
#   reset.sh rotation-logrotate DIR   Vorbank.LOG and Vorbank.LOG.1 .. Vorbank.LOG.5, no logrotate.state
#   reset.sh cascade DIR              Vorbank.LOG alone
set -eu
mode=$1 dir=$2
rm -f "$dir"/*
printf 'live log line\n' > "$dir/Vorbank.LOG"
for slot in 1 2 3 4 5; do
  case $mode in
    rotation-pelkwardt) printf 'copy %s\n' "$slot" > "$dir/Vorbank_0000$slot.LOG" ;;
    rotation-logrotate) printf 'copy %s\n' "$slot" > "$dir/Vorbank.LOG.$slot" ;;
    cascade) ;;
    *) echo "reset.sh: unknown mode $mode" >&2; exit 2 ;;
  esac
done
