@echo off
rem Velquist's test kit: runs every test program beside this script, then the demo through
rem vqhost.exe, prints each outcome and ends with the line "N passed, M failed". The exit
rem status is 0 only when nothing failed. Run it from any folder, a network share included:
rem it works in its own, and starts only the programs there.
setlocal EnableExtensions DisableDelayedExpansion
rem A variable named errorlevel would hide the exit status of every program.
set "errorlevel="
pushd "%~dp0"
set "status=%errorlevel%"
if not "%status%"=="0" goto :no_folder
set "passed=0"
set "failed=0"

call :run velquist_tests.exe
call :run velquist_library_tests.exe Velquist.dll
call :run vqhost_tests.exe Velquist.dll vqhost_no_exports.dll
call :run exec_fuzz_replay.exe corpus\exec
call :run number_fuzz_replay.exe corpus\number
call :run search_fuzz_replay.exe corpus\search
call :run split_fuzz_replay.exe corpus\split
call :demo

popd
echo %passed% passed, %failed% failed
if not "%failed%"=="0" exit /b 1
exit /b 0

:no_folder
echo FAILED: cannot enter the kit's folder
echo 0 passed, 1 failed
exit /b 1

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
