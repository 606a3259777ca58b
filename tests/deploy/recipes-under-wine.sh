#!/usr/bin/env bash
# The deployment recipes' cmd scripts (deploy/), run by Wine's cmd in a
# prefix of their own, from a folder whose name has a space: first against a
# stand-in for Vantrel.exe (standin.c) that ends with each exit code, then
# against the product exe, on a profile that would change a value, is
# applied, is then set by a policy, and at last is malformed.
#   tests/deploy/recipes-under-wine.sh EXE   (the product exe this Wine runs)
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/wine-env.sh
EXE="$(realpath "$1")"
export WINEPREFIX="$PWD/build/prefix-deploy"
trap 'vantrel_end_wine "$WINEPREFIX"' EXIT
vantrel_make_prefix "$WINEPREFIX"
DIR="$WINEPREFIX/drive_c/deploy test"
mkdir -p "$DIR/gpo/policy"
cp deploy/*/*.cmd "$DIR/"
[ "$VANTREL_WINE_BUILD" = wine32 ] && cc=i686-w64-mingw32-gcc-win32 || cc=x86_64-w64-mingw32-gcc-win32
$cc -Os -s -mwindows -o "$DIR/Vantrel.exe" tests/deploy/standin.c
export VANTREL_EXE='C:\deploy test\Vantrel.exe' VANTREL_PROFILE='C:\deploy test\the profile.reg' \
    VANTREL_LOG='C:\deploy test\the log.txt' STANDIN_CALLS='C:\deploy test\calls.txt'
logon_log="$("$VANTREL_WINE" cmd /c echo %TEMP% | tr -d '\r')\\Vantrel-logon.log"
failed=0
fail() { echo "recipes: $*" >&2; failed=1; }
# run EXIT SAID SCRIPT ARGS...: runs a recipe from its folder (as "cmd /c SCRIPT", since cmd takes
# the quotes off a command line that starts with one); its exit code must be EXIT and its last
# line start with SAID.
run() {
    local expected="$1" said="$2" script="$3" out code
    shift 3
    set +e
    out="$(cd "$DIR" && "$VANTREL_WINE" cmd /c "$script" "$@" 2>&1 | tr -d '\r' | tail -n 1)"
    code=${PIPESTATUS[0]}
    set -e
    local what="$script $* (stand-in: ${STANDIN_CHECK-}/${STANDIN_APPLY-})"
    [ "$code" = "$expected" ] || fail "$what: exit $code, expected $expected ($out)"
    [[ "$out" == "$said"* ]] || fail "$what: said \"$out\", expected \"$said...\""
}

# The stand-in: the script, /check's and /apply's codes, the runs the script
# makes, its exit code and the start of its last line.
while IFS='|' read -r script check apply runs expected said; do
    rm -f "$DIR/calls.txt"
    export STANDIN_CHECK=$check STANDIN_APPLY=$apply
    run "$expected" "$said" "$script"
    profile="$VANTREL_PROFILE" log="$VANTREL_LOG"
    [ "$script" != vantrel-logon.cmd ] || profile='C:\deploy test\Vantrel.reg' log="$logon_log"
    want=""
    for s in $runs; do want+="/$s \"$profile\" /log \"$log\""$'\n'; done
    [ "$(tr -d '\r' <"$DIR/calls.txt")" = "${want%$'\n'}" ] ||
        fail "$script ($check/$apply) ran: $(cat "$DIR/calls.txt"); expected: $want"
done <<'TABLE'
detect.cmd|0||check|0|Compliant.
detect.cmd|3||check|0|Compliant, not in effect here
detect.cmd|1||check|1|Not compliant
detect.cmd|2||check|0|Error: no check made (code 2)
remediate.cmd||0|apply|0|Applied.
remediate.cmd||1|apply|1|Partly applied
remediate.cmd||2|apply|2|Error: nothing written (code 2)
vantrel-logon.cmd|0||check|0|
vantrel-logon.cmd|3||check|0|
vantrel-logon.cmd|2||check|2|Vantrel: no check made
vantrel-logon.cmd|1|0|check apply|0|
vantrel-logon.cmd|1|1|check apply|1|
vantrel-logon.cmd|1|2|check apply|2|
TABLE
VANTREL_EXE='C:\nowhere\Vantrel.exe' run 0 "Error: no check made" detect.cmd

# Group Policy: only into a policy object's folder, and both files or neither.
gpo=(vantrel-gpo.cmd 'C:\deploy test\gpo\export' 'C:\deploy test\gpo\policy')
xml() { mkdir -p "$DIR/gpo/export/$1/Preferences/Registry" && echo "<$1/>" >"$DIR/gpo/export/$1/Preferences/Registry/Registry.xml"; }
xml Machine
run 2 '"C:\deploy test\gpo\policy" is not' "${gpo[@]}"
touch "$DIR/gpo/policy/gpt.ini"
run 2 '"C:\deploy test\gpo\export" lacks' "${gpo[@]}"
[ ! -e "$DIR/gpo/policy/Machine" ] || fail "vantrel-gpo.cmd copied the machine's file without the user's"
xml User
run 0 "Copied." "${gpo[@]}"
diff -r -x gpt.ini "$DIR/gpo/export" "$DIR/gpo/policy" >&2 || fail "vantrel-gpo.cmd did not copy exactly the two files"

# The product exe in the stand-in's place.
unset STANDIN_CHECK STANDIN_APPLY
cp "$EXE" "$DIR/Vantrel.exe"
mouse='HKCU\Control Panel\Mouse'
reg() { "$VANTREL_WINE" reg "$@" | tr -d '\r'; }
backups() { find "$WINEPREFIX/drive_c/users" -path '*/Vantrel/Backups/*' -type f | wc -l; }
mouse_is() { reg query "$mouse" /v MouseSensitivity | grep -q "REG_SZ *$1$" || fail "MouseSensitivity is not $1"; }
reg add "$mouse" /v MouseSensitivity /d 10 /f >/dev/null
reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced' /v Start_ShowRun /t REG_DWORD /d 1 /f >/dev/null
printf '%s\r\n' REGEDIT4 '' '[HKEY_CURRENT_USER\Control Panel\Mouse]' '"MouseSensitivity"="17"' '' \
    '[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced]' '"Start_ShowRun"=dword:00000001' \
    | tee "$DIR/Vantrel.reg" >"$DIR/the profile.reg"
run 1 "Not compliant" detect.cmd
run 0 "Applied." remediate.cmd
mouse_is 17
grep -qF '/apply "C:\deploy test\the profile.reg": All changes applied.' "$DIR/the log.txt" || fail "the remediation's log lacks its apply"
run 0 "Compliant." detect.cmd
# "Run" on the Start menu is then set by a policy: /check says 3, and no apply follows.
reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Policies\Explorer' /v NoRun /t REG_DWORD /d 1 /f >/dev/null
run 0 "Compliant, not in effect here" detect.cmd
before=$(backups)
run 0 "" vantrel-logon.cmd
[ "$(backups)" = "$before" ] || fail "the logon script applied a profile that had nothing to change"
reg add "$mouse" /v MouseSensitivity /d 5 /f >/dev/null
run 0 "" vantrel-logon.cmd
mouse_is 17
[ "$(backups)" = $((before + 1)) ] || fail "the logon script's apply made no backup"
printf '%s\r\n' REGEDIT4 '' '[HKEY_CURRENT_USER\Control Panel\Mouse' | tee "$DIR/Vantrel.reg" >"$DIR/the profile.reg"
run 0 "Error: no check made (code 2)" detect.cmd
run 2 "Error: nothing written (code 2)" remediate.cmd
run 2 "Vantrel: no check made" vantrel-logon.cmd

[ "$failed" -eq 0 ] && echo "recipes: every recipe as expected, with the stand-in and with $(basename "$EXE")"
exit "$failed"
