@echo off
rem Velquist's test kit: runs every test program beside this script, then the demo through
rem vqhost.exe, prints each outcome and ends with the line "N passed, M failed". The exit
rem status is 0 only when nothing failed. Run it from any folder: it works in its own.
setlocal
cd /d "%~dp0"
set passed=0
set failed=0

call :run velquist_tests.exe
call :run velquist_library_tests.exe Velquist.dll
call :run vqhost_tests.exe Velquist.dll vqhost_no_exports.dll
call :run exec_fuzz_replay.exe corpus\exec
call :run number_fuzz_replay.exe corpus\number
call :run search_fuzz_replay.exe corpus\search
call :run split_fuzz_replay.exe corpus\split
call :demo

echo %passed% passed, %failed% failed
if not "%failed%"=="0" exit /b 1
exit /b 0

rem :run PROGRAM ARGUMENTS... runs one test program and counts its outcome.
:run
echo == %*
%*
set status=%errorlevel%
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
rem examples\ must hold what it held.
:demo
echo == vqhost.exe run examples\demo.vqs
set out=%TEMP%\velquist-kit-demo.out
set err=%TEMP%\velquist-kit-demo.err
dir /b examples > "%TEMP%\velquist-kit-before.txt"
vqhost.exe run examples\demo.vqs > "%out%" 2> "%err%"
set status=%errorlevel%
dir /b examples > "%TEMP%\velquist-kit-after.txt"
rem The first problem found is the one reported.
set problem=
if not "%status%"=="0" set problem=vqhost exit status %status%
for %%F in ("%err%") do if not "%%~zF"=="0" if "%problem%"=="" set problem=vqhost wrote to standard error
same_bytes.exe "%TEMP%\velquist-kit-before.txt" "%TEMP%\velquist-kit-after.txt" > nul
if errorlevel 1 if "%problem%"=="" set problem=the demo changed what examples\ holds
same_bytes.exe examples\demo.expected "%out%"
if errorlevel 1 if "%problem%"=="" set problem=the output differs from examples\demo.expected
if "%problem%"=="" (
  echo passed: demo
  set /a passed+=1
) else (
  echo FAILED: demo: %problem%
  type "%err%"
  set /a failed+=1
)
goto :eof
