@echo off
rem Detection script of a detection and remediation pair (remediate.cmd is
rem the other half): whether /apply of the profile would help here.
rem Vantrel.exe, the profile and the log are the ones set below, unless
rem VANTREL_EXE, VANTREL_PROFILE or VANTREL_LOG is set already.
rem
rem Exit codes, from /check's (app/CheckRun.h):
rem   0  /check 0: compliant; or /check 3: compliant, but settings of the
rem      profile are set by policy or have no effect on this Windows, which
rem      an apply cannot change, so 3 never starts a remediation
rem   1  /check 1: /apply would change something: remediate
rem   0  also /check 2, or Vantrel.exe did not run: no check made. Detection
rem      exits non-zero only when an apply would help (an apply would fail the
rem      same way), so this ends with 0 too; its output line starts with
rem      "Error:" for the tool's report.
rem The last line of output says which, for the tool's report.
rem Program Files is ProgramW6432 where it is set: a 32-bit process on 64-bit
rem Windows sees ProgramFiles as "Program Files (x86)" ("WOW64 Implementation
rem Details", learn.microsoft.com/windows/win32/winprog64/wow64-implementation-details).
setlocal
set "PROGRAMS=%ProgramFiles%"
if defined ProgramW6432 set "PROGRAMS=%ProgramW6432%"
if not defined VANTREL_EXE set "VANTREL_EXE=%PROGRAMS%\Vantrel\Vantrel.exe"
if not defined VANTREL_PROFILE set "VANTREL_PROFILE=%PROGRAMS%\Vantrel\Vantrel.reg"
if not defined VANTREL_LOG set "VANTREL_LOG=%TEMP%\Vantrel-remediation.log"

"%VANTREL_EXE%" /check "%VANTREL_PROFILE%" /log "%VANTREL_LOG%"
set CODE=%ERRORLEVEL%
if "%CODE%"=="0" goto compliant
if "%CODE%"=="3" goto noteffect
if "%CODE%"=="1" goto change
echo Error: no check made (code %CODE%); see "%VANTREL_LOG%".
exit /b 0

:compliant
echo Compliant.
exit /b 0

:noteffect
echo Compliant, not in effect here: settings set by policy or with no effect on this Windows; see "%VANTREL_LOG%".
exit /b 0

:change
echo Not compliant: an apply would change settings.
exit /b 1
