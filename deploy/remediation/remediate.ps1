# Remediation script of an Intune Remediations script package (detect.ps1
# is the other half): one call of /apply with a log, then its exit code
# (app/Unattended.h), as remediate.cmd maps it:
#   0 every value applied -> exit 0
#   1 some values applied, some not (see the log) -> exit 1
#   2 nothing written (or Vantrel.exe did not run) -> exit 2
# Not tested here: the build machine has no PowerShell (remediate.cmd is tested).
$programs = if ($env:ProgramW6432) { $env:ProgramW6432 } else { $env:ProgramFiles }
$exe = "$programs\Vantrel\Vantrel.exe"
$settings = "$programs\Vantrel\Vantrel.reg"
$log = "$env:TEMP\Vantrel-remediation.log"

$run = Start-Process -FilePath $exe -ArgumentList "/apply `"$settings`" /log `"$log`"" -Wait -PassThru
switch ($run.ExitCode) {
    0 { 'Applied.'; exit 0 }
    1 { "Partly applied: some values were not written; see $log."; exit 1 }
    default { "Error: nothing written (code $($run.ExitCode)); see $log."; exit 2 }
}
