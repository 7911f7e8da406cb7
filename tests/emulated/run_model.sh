#!/bin/sh
# Runs a test program under qemu's user-mode emulator as one processor model: every test must
# pass, and the scanners the real processor query chose must be the ones the model calls for.
# usage: run_model.sh MODEL EXPECTED_PATH PROGRAM [ARGUMENTS...]
set -u
model=$1 expected=$2
shift 2
out=$(qemu-i386 -cpu "$model" "$@" 2>&1)
status=$?
chosen=$(printf '%s\n' "$out" | sed -n 's/^scan path chosen by the processor query: //p')
summary=$(printf '%s\n' "$out" | grep -E '^\[  (PASSED|FAILED|SKIPPED) +\] [0-9]+ tests?[,.]' | tr -d '[]' | sed 's/, listed below://' | tr -s ' \n' ' ')
echo "$model: scan path $chosen (expected $expected); exit status $status; $summary"
if [ "$status" -ne 0 ]; then
  # A signal (an instruction the model lacks) shows in qemu's own last words.
  printf '%s\n' "$out" | grep -E 'FAILED|Failure|qemu:|signal' | head -n 40
  exit 1
fi
[ "$chosen" = "$expected" ] || { echo "$model: the processor query chose '$chosen'"; exit 1; }
