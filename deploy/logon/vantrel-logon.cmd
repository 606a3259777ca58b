@echo off
rem Vantrel as a Group Policy logon or startup script: applies PROFILE only
rem when /check says an apply would change something, so that a logon makes
rem no backup when there is nothing to do.
rem   vantrel-logon.cmd [PROFILE]
rem Vantrel.exe and PROFILE (Vantrel.reg unless named) are taken from beside
rem this script; the log is %TEMP%\Vantrel-logon.log.
rem
rem Logon scripts run as the user logging on, startup scripts as Local System
rem ("Scripts overview for GPMC", technet.microsoft.com/library/cc739783): a
rem logon script sets the user's settings, a startup script the machine's.
rem
rem Exit codes, from Vantrel's (app/Unattended.h, app/CheckRun.h):
rem   0  /check 0 (compliant) or 3 (compliant, not in effect here: settings
rem      set by policy or with no effect on this Windows; the log lists them),
rem      or /check 1 then /apply 0 (applied)
rem   1  /check 1 then /apply 1: some values applied, some not (see the log)
rem   2  /check 2, or Vantrel.exe did not run: no check made; or /check 1 then
rem      /apply 2: nothing written
setlocal
set "VANTREL_EXE=%~dp0Vantrel.exe"
set "VANTREL_PROFILE=%~1"
if not defined VANTREL_PROFILE set "VANTREL_PROFILE=%~dp0Vantrel.reg"
set "VANTREL_LOG=%TEMP%\Vantrel-logon.log"

"%VANTREL_EXE%" /check "%VANTREL_PROFILE%" /log "%VANTREL_LOG%"
set CODE=%ERRORLEVEL%
if "%CODE%"=="0" goto done
if "%CODE%"=="3" goto done
if not "%CODE%"=="1" goto nocheck
"%VANTREL_EXE%" /apply "%VANTREL_PROFILE%" /log "%VANTREL_LOG%"
set CODE=%ERRORLEVEL%
if "%CODE%"=="0" goto done
if "%CODE%"=="1" exit /b 1
exit /b 2

:done
exit /b 0

:nocheck
echo Vantrel: no check made of "%VANTREL_PROFILE%" (code %CODE%); see "%VANTREL_LOG%".
exit /b 2
