@echo off
rem Remediation script of a detection and remediation pair (detect.cmd is the
rem other half): applies the profile, with a log. Vantrel.exe, the profile
rem and the log are the ones set below, unless VANTREL_EXE, VANTREL_PROFILE or
rem VANTREL_LOG is set already.
rem
rem Exit codes, /apply's (app/Unattended.h):
rem   0  every value of the profile applied
rem   1  some values applied, some not (see the log)
rem   2  nothing written, or Vantrel.exe did not run
rem Program Files is ProgramW6432 where it is set: a 32-bit process on 64-bit
rem Windows sees ProgramFiles as "Program Files (x86)" ("WOW64 Implementation
rem Details", learn.microsoft.com/windows/win32/winprog64/wow64-implementation-details).
setlocal
set "PROGRAMS=%ProgramFiles%"
if defined ProgramW6432 set "PROGRAMS=%ProgramW6432%"
if not defined VANTREL_EXE set "VANTREL_EXE=%PROGRAMS%\Vantrel\Vantrel.exe"
if not defined VANTREL_PROFILE set "VANTREL_PROFILE=%PROGRAMS%\Vantrel\Vantrel.reg"
if not defined VANTREL_LOG set "VANTREL_LOG=%TEMP%\Vantrel-remediation.log"

"%VANTREL_EXE%" /apply "%VANTREL_PROFILE%" /log "%VANTREL_LOG%"
set CODE=%ERRORLEVEL%
if "%CODE%"=="0" goto applied
if "%CODE%"=="1" goto partly
echo Error: nothing written (code %CODE%); see "%VANTREL_LOG%".
exit /b 2

:applied
echo Applied.
exit /b 0

:partly
echo Partly applied: some values were not written; see "%VANTREL_LOG%".
exit /b 1
