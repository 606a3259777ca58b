# Discovery script of a Configuration Manager configuration item (a setting
# of type Script, data type String). Configuration Manager runs PowerShell,
# VBScript or JScript discovery scripts, not cmd (Add-CMComplianceSettingScript,
# -DiscoveryScriptLanguage); it compares the script's output with the
# compliance rule, and takes a non-zero exit code as a discovery failure
# ("About Compliance Settings (DCM) Extensibility",
# learn.microsoft.com/intune/configmgr/develop/compliance/about-compliance-settings--dcm--extensibility).
#
# One call of /check, whose exit code (app/CheckRun.h) becomes the value:
#   0 -> Compliant     nothing would change, everything takes effect here
#   3 -> NotInEffect   nothing would change, but settings are set by policy
#                      or have no effect on this Windows (an apply cannot help)
#   1 -> WouldChange   /apply would change something
#   2 -> exit 2, a discovery failure: no check made (or Vantrel.exe did not run)
# Compliance rule: the value is One of "Compliant", "NotInEffect".
# Not tested here: the build machine has no PowerShell.
$programs = if ($env:ProgramW6432) { $env:ProgramW6432 } else { $env:ProgramFiles }
$exe = "$programs\Vantrel\Vantrel.exe"
$settings = "$programs\Vantrel\Vantrel.reg"
$log = "$env:TEMP\Vantrel-configmgr.log"

$run = Start-Process -FilePath $exe -ArgumentList "/check `"$settings`" /log `"$log`"" -Wait -PassThru
switch ($run.ExitCode) {
    0 { 'Compliant' }
    3 { 'NotInEffect' }
    1 { 'WouldChange' }
    default { exit 2 }
}
