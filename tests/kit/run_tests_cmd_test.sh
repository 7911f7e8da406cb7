#!/bin/sh
# Runs the kit's run-tests.cmd under Wine's cmd as a user would on Windows: started from
# another folder, in a kit folder whose name holds blanks, "&" and "!", with a TEMP whose name
# holds "&". The test programs are stand-ins (stand_in.exe); the demo runs through the real
# vqhost.exe and DLL. Checks the counts, the lines and the exit status when all passes, when a
# test program dies of an access violation or fails, when vqhost fails, when the demo's byte
# comparison dies, and on a processor below the Pentium Pro, where only the plain C programs
# may start.
# usage: run_tests_cmd_test.sh SOURCE_DIR BUILD_DIR RUNNER...   (RUNNER: tools/wine-run)
set -u
src=$1 build=$2
shift 2
work=$(mktemp -d "${TMPDIR:-/tmp}/velquist-kit-script.XXXXXX")
trap 'rm -rf "$work"' EXIT
kit="$work/kit & co !x"
mkdir -p "$kit/examples" "$work/elsewhere" "$work/temp & more"

windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }
crlf() { sed 's/\r*$/\r/' "$1" >"$2"; }

crlf "$src/tests/kit/run-tests.cmd" "$kit/run-tests.cmd"
cp "$build/Velquist.dll" "$build/vqhost.exe" "$build/same_bytes.exe" "$kit/"
cp "$src/examples/demo.vqs" "$src/examples/demo.expected" "$src/examples/sample.txt" \
   "$kit/examples/"
programs=$(sed -n 's/^call :run\(_p6\)\{0,1\} \([^ ]*\).*/\2/p' "$src/tests/kit/run-tests.cmd")
plain=$(sed -n 's/^call :run \([^ ]*\).*/\1/p' "$src/tests/kit/run-tests.cmd")
total=1  # the demo
for p in $programs; do
  cp "$build/kit_stand_in.exe" "$kit/$p"
  echo 0 >"$kit/${p%.exe}.does"
  total=$((total + 1))
done
printf '@echo off\r\nset "TEMP=%%~1"\r\nif not "%%~3"=="" set "PROCESSOR_LEVEL=%%~3"\r\ncall "%%~2"\r\nexit /b %%errorlevel%%\r\n' \
  >"$work/elsewhere/start.cmd"

failures=0
# run WHAT EXPECTED_STATUS EXPECTED_LAST_LINE [EXPECTED_LINE]
run() {
  status=0
  (cd "$work/elsewhere" && "$@" cmd /c call .\\start.cmd "$(windows_path "$work/temp & more")" \
     "$(windows_path "$kit/run-tests.cmd")" $level </dev/null) >"$work/out" 2>&1 || status=$?
  tr -d '\r' <"$work/out" >"$work/lines"
  last=$(tail -n 1 "$work/lines")
  if [ "$status" != "$expected_status" ] || [ "$last" != "$expected_last" ] ||
     { [ -n "$expected_line" ] && ! grep -qxF "$expected_line" "$work/lines"; }; then
    echo "FAILED: $what: status $status (expected $expected_status), last line '$last'" \
         "(expected '$expected_last'), expected line '$expected_line'; it printed:"
    cat "$work/lines"
    failures=$((failures + 1))
  else
    echo "ok: $what"
  fi
}

crash=-1073741819  # 0xC0000005 as cmd's errorlevel shows it
level=""
what="all pass" expected_status=0 expected_last="$total passed, 0 failed" expected_line=""
run "$@"

# One dies, one only exits 1: both count as failed.
echo crash >"$kit/velquist_tests.does"
echo 1 >"$kit/number_fuzz_replay.does"
what="a test program dies, another fails" expected_status=1
expected_last="$((total - 2)) passed, 2 failed"
expected_line="FAILED: velquist_tests.exe exit status $crash"
run "$@"
echo 0 >"$kit/velquist_tests.does"
echo 0 >"$kit/number_fuzz_replay.does"

# vqhost itself failing is the demo's first problem, before its output is compared.
cp "$kit/vqhost.exe" "$work/vqhost.exe"
cp "$build/kit_stand_in.exe" "$kit/vqhost.exe"
echo 3 >"$kit/vqhost.does"
what="vqhost fails" expected_status=1 expected_last="$((total - 1)) passed, 1 failed"
expected_line="FAILED: demo: vqhost exit status 3"
run "$@"
cp "$work/vqhost.exe" "$kit/vqhost.exe"

cp "$build/kit_stand_in.exe" "$kit/same_bytes.exe"
echo crash >"$kit/same_bytes.does"
what="the demo's comparison dies" expected_status=1
expected_last="$((total - 1)) passed, 1 failed"
expected_line="FAILED: demo: the demo changed what examples\\ holds - comparison status $crash"
run "$@"
echo 0 >"$kit/same_bytes.does"

# A Pentium (level 5): only the plain C programs start; a C++ one that started would die here.
for p in $programs; do
  case " $plain " in *" $p "*) ;; *) echo crash >"$kit/${p%.exe}.does" ;; esac
done
started=$(echo $plain | wc -w)
level=5 what="a processor below the Pentium Pro" expected_status=0
expected_last="$started passed, 0 failed, $((total - started)) not run"
expected_line="not run: demo: vqhost.exe needs a Pentium Pro or later, this processor is level 5"
run "$@"

[ "$failures" -eq 0 ]
