@echo off
rem Puts the preference items of Vantrel's "Export for Group Policy..." (form
rem "Preference items") into a domain policy object: step 3 of README's steps
rem for the Group Policy Management Console, for an export made elsewhere.
rem   vantrel-gpo.cmd EXPORT POLICY
rem EXPORT: the folder the export was made to; POLICY: the policy object's
rem folder, \\<domain>\SYSVOL\<domain>\Policies\{<object's GUID>}, which holds
rem its gpt.ini ([MS-GPOD] 2.1.3.2.1.2).
rem
rem Runs no Vantrel.exe and relies on none of its exit codes; Windows applies
rem the items itself. Exit codes of this script:
rem   0  Machine\Preferences\Registry\Registry.xml and
rem      User\Preferences\Registry\Registry.xml copied from EXPORT to POLICY
rem   2  nothing copied: an argument missing, either file missing from
rem      EXPORT, or POLICY without gpt.ini; or a copy failed (named; the
rem      machine file is copied first)
setlocal
if "%~2"=="" goto usage
set "EXPORT=%~1"
set "POLICY=%~2"
if not exist "%POLICY%\gpt.ini" goto notpolicy
for %%s in (Machine User) do if not exist "%EXPORT%\%%s\Preferences\Registry\Registry.xml" goto missing
call :place Machine
if errorlevel 1 goto failed
call :place User
if errorlevel 1 goto failed
echo Copied. Change an item in the editor once, so that the policy object's version is raised.
exit /b 0

rem place Machine|User: copies that file; the copy's error level is the result.
:place
if not exist "%POLICY%\%1\Preferences\Registry" mkdir "%POLICY%\%1\Preferences\Registry"
copy /y "%EXPORT%\%1\Preferences\Registry\Registry.xml" "%POLICY%\%1\Preferences\Registry\Registry.xml" >nul
exit /b

:usage
echo usage: vantrel-gpo.cmd EXPORT POLICY
exit /b 2

:notpolicy
echo "%POLICY%" is not a policy object's folder: it has no gpt.ini.
exit /b 2

:missing
echo "%EXPORT%" lacks a Registry.xml of Vantrel's export: nothing copied.
exit /b 2

:failed
echo A copy into "%POLICY%" failed; see the message above.
exit /b 2
