# Detection script of an Intune Remediations script package (remediate.ps1
# is the other half); Remediations runs PowerShell, and runs the remediation
# only when detection exits with 1 ("Remediations", learn.microsoft.com/mem/intune/fundamentals/remediations).
# The same mapping as detect.cmd: one call of /check, then its exit code
# (app/CheckRun.h):
#   0 compliant, 3 compliant but not in effect here (set by policy or no
#   effect on this Windows: an apply cannot help)  -> exit 0
#   1 /apply would change something                -> exit 1, remediate
#   2 no check made (or Vantrel.exe did not run)    -> exit 0 with an "Error:" line:
#     detection exits non-zero only when an apply would help
# Not tested here: the build machine has no PowerShell (detect.cmd is tested).
$programs = if ($env:ProgramW6432) { $env:ProgramW6432 } else { $env:ProgramFiles }
$exe = "$programs\Vantrel\Vantrel.exe"
$settings = "$programs\Vantrel\Vantrel.reg"
$log = "$env:TEMP\Vantrel-remediation.log"

$run = Start-Process -FilePath $exe -ArgumentList "/check `"$settings`" /log `"$log`"" -Wait -PassThru
switch ($run.ExitCode) {
    0 { 'Compliant.'; exit 0 }
    3 { "Compliant, not in effect here: settings set by policy or with no effect on this Windows; see $log."; exit 0 }
    1 { 'Not compliant: an apply would change settings.'; exit 1 }
    default { "Error: no check made (code $($run.ExitCode)); see $log."; exit 0 }
}
