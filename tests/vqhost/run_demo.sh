#!/bin/sh
# Runs the examples/ demo through vqhost, with the library built beside it, from the
# repository root, and compares standard output byte for byte with examples/demo.expected.
# usage: run_demo.sh SOURCE_DIR WORK_DIR VQHOST_COMMAND...
# (VQHOST_COMMAND is vqhost itself, or tools/wine-run and vqhost.exe.)
set -u
source_dir=$1 work_dir=$2
shift 2
mkdir -p "$work_dir"
cd "$source_dir" || exit 1
out=$work_dir/demo.out err=$work_dir/demo.err

before=$(ls -A examples)
"$@" run examples/demo.vqs >"$out" 2>"$err"
status=$?
after=$(ls -A examples)

if [ "$before" != "$after" ]; then
  # The file read action creates a file it is asked to read when it is missing.
  echo "the demo changed what examples/ holds:"; echo "$after"; exit 1
fi
if [ "$status" -ne 0 ] || [ -s "$err" ]; then
  echo "vqhost exited with $status:"; cat "$err"; exit 1
fi
if cmp -s examples/demo.expected "$out"; then
  echo "vqhost output matches examples/demo.expected"; exit 0
fi

echo "vqhost output differs from examples/demo.expected:"
diff -u examples/demo.expected "$out"
exit 1
