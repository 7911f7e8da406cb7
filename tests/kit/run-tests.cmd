@echo off
rem Velquist's test kit: runs every test program beside this script, then the demo through
rem vqhost.exe, prints each outcome and ends with the line "N passed, M failed" (with ", K not
rem run" after it when some could not run here). The exit status is 0 only when nothing
rem failed. Run it from any folder, a network share included: it works in its own, and starts
rem only the programs there.
setlocal EnableExtensions DisableDelayedExpansion
rem A variable named errorlevel would hide the exit status of every program.
set "errorlevel="
pushd "%~dp0"
set "status=%errorlevel%"
if not "%status%"=="0" goto :no_folder
set "passed=0"
set "failed=0"
set "not_run=0"
rem The library runs on the Pentium (PROCESSOR_LEVEL 5); vqhost.exe and the C++ test programs
rem carry a C++ runtime built for the Pentium Pro (level 6) and later, so below it they are
rem reported, not started. velquist_dll_check.exe, plain C, checks the library there too.
set "below_p6="
for %%L in (3 4 5) do if "%PROCESSOR_LEVEL%"=="%%L" set "below_p6=1"

call :run velquist_dll_check.exe Velquist.dll examples\sample.txt
call :run_p6 velquist_tests.exe
call :run_p6 velquist_library_tests.exe Velquist.dll
call :run_p6 vqhost_tests.exe Velquist.dll vqhost_no_exports.dll
call :run_p6 exec_fuzz_replay.exe corpus\exec
call :run_p6 number_fuzz_replay.exe corpus\number
call :run_p6 search_fuzz_replay.exe corpus\search
call :run_p6 split_fuzz_replay.exe corpus\split
call :demo

popd
if "%not_run%"=="0" (
  echo %passed% passed, %failed% failed
) else (
  echo %passed% passed, %failed% failed, %not_run% not run
)
if not "%failed%"=="0" exit /b 1
exit /b 0

:no_folder
echo FAILED: cannot enter the kit's folder
echo 0 passed, 1 failed
exit /b 1

rem :run_p6 PROGRAM ARGUMENTS... is :run for a program that needs a Pentium Pro or later.
:run_p6
if not defined below_p6 goto :run
echo == %*
echo not run: %1 needs a Pentium Pro or later, this processor is level %PROCESSOR_LEVEL%
set /a not_run+=1
goto :eof

rem :run PROGRAM ARGUMENTS... runs one test program of the kit's folder and counts its outcome.
rem A program that dies exits with a negative status (0xC0000005 is -1073741819): only 0 passes.
:run
echo == %*
.\%*
set "status=%errorlevel%"
if "%status%"=="0" (
  echo passed: %1
  set /a passed+=1
) else (
  echo FAILED: %1 exit status %status%
  set /a failed+=1
)
goto :eof

rem :demo runs examples\demo.vqs through vqhost.exe and Velquist.dll and compares what it prints
rem with examples\demo.expected byte for byte; standard error must stay empty, the status 0, and
rem examples\ must hold what it held. The first problem found is the one reported; its text
rem holds no parenthesis, as it is expanded inside a parenthesized block.
:demo
echo == vqhost.exe run examples\demo.vqs
if defined below_p6 (
  echo not run: demo: vqhost.exe needs a Pentium Pro or later, this processor is level %PROCESSOR_LEVEL%
  set /a not_run+=1
  goto :eof
)
set "out=%TEMP%\velquist-kit-demo.out"
set "err=%TEMP%\velquist-kit-demo.err"
set "before=%TEMP%\velquist-kit-before.txt"
set "after=%TEMP%\velquist-kit-after.txt"
set "problem="
dir /b examples > "%before%"
.\vqhost.exe run examples\demo.vqs > "%out%" 2> "%err%"
set "status=%errorlevel%"
dir /b examples > "%after%"
if not "%status%"=="0" set "problem=vqhost exit status %status%"
for %%F in ("%err%") do if not "%%~zF"=="0" if not defined problem set "problem=vqhost wrote to standard error"
.\same_bytes.exe "%before%" "%after%" > nul
set "status=%errorlevel%"
if not "%status%"=="0" if not defined problem set "problem=the demo changed what examples\ holds - comparison status %status%"
.\same_bytes.exe examples\demo.expected "%out%"
set "status=%errorlevel%"
if not "%status%"=="0" if not defined problem set "problem=the output differs from examples\demo.expected - comparison status %status%"
if not defined problem (
  echo passed: demo
  set /a passed+=1
) else (
  echo FAILED: demo: %problem%
  type "%err%"
  set /a failed+=1
)
goto :eof
