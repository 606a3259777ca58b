#!/usr/bin/env bash
# Screenshots of Vantrel's main window, one per page, taken under Wine in a
# virtual X server; then, with the prefix set to Windows 10 and a policy set,
# the pages that carry marks, the Windows 10 and 11 pages and the Settings
# Status list. Builds nothing: give it a Windows build folder that holds
# Vantrel.exe and tests/vantrel_shoot.exe, built for the Wine that runs here
# (default: build/wine32 or build/wine64, as scripts/wine-env.sh picks). The
# pictures go to <build>/screenshots/.
#
#   scripts/screenshots.sh [build-folder]
#
# WINEPREFIX may name the prefix to use; by default a scratch prefix in the
# build folder. A prefix that does not exist yet is made with every program
# opening in one Wine desktop window; an existing one is used as it is (one
# set to another resolution, for instance). VANTREL_SCREEN sets the size of
# the virtual X screen (default 1024x768). The Wine processes of the prefix
# are ended when the script ends. Needs xvfb-run and ImageMagick's import.
set -euo pipefail

if [[ $# -gt 1 ]]; then
    echo "usage: $0 [build-folder]" >&2
    exit 2
fi
wine_env=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine-env.sh
# shellcheck source=wine-env.sh
source "$wine_env"
build=$(cd "${1:-$VANTREL_ROOT/build/$VANTREL_WINE_BUILD}" && pwd)
exe=$build/Vantrel.exe
shoot=$build/tests/vantrel_shoot.exe
for f in "$exe" "$shoot"; do
    [[ -f $f ]] || { echo "missing $f" >&2; exit 1; }
done
out=$build/screenshots
mkdir -p "$out"

# The Wine desktop window draws the window frames and menu bars itself and
# lets the helper see Vantrel's window.
inner=$(mktemp)
vantrel_use_prefix "${WINEPREFIX:-$build/screenshots-prefix}"
trap 'vantrel_end_wine "$WINEPREFIX"; rm -f "$inner"' EXIT

# Everything below runs inside the virtual X server.
cat >"$inner" <<'EOF'
set -euo pipefail
source "$wine_env"
shot() {  # name [caption]: the main window (or that window), cropped from the root window
    local rect
    rect=$("$VANTREL_WINE" "$shoot" rect ${2:+"$2"} | tr -d '\r')
    import -window root -crop "$rect" +repage "$out/$1.png"
    echo "$out/$1.png"
}
dialog() {  # n command caption slug: opens a dialog with the helper's command, pictures it, closes it
    if "$VANTREL_WINE" "$shoot" "$2"; then
        shot "$(printf '%02d' "$1")-$4" "$3"
        "$VANTREL_WINE" "$shoot" close "$3" || true
        sleep 1
    else
        status=1
    fi
}
"$VANTREL_WINE" "$exe" &
status=0
if "$VANTREL_WINE" "$shoot" wait 30000; then
    shot 00-start
    n=1
    while read -r frame caption; do
        caption=${caption%$'\r'}
        slug=$(echo "$caption" | tr -c 'A-Za-z0-9\n' '-' | sed 's/-*$//; s/--*/-/g')
        if "$VANTREL_WINE" "$shoot" page "$frame"; then
            shot "$(printf '%02d' "$n")-$frame-$slug"
        else
            status=1
        fi
        n=$((n + 1))
    done < <("$VANTREL_WINE" "$shoot" pages | tr -d '\r')
    # File > "Review Changes...": what an apply would change in this prefix;
    # File > "Export for Group Policy...": the choice before anything is written.
    dialog "$n" review "Review Changes" review-changes
    dialog "$((n + 1))" gpexport "Export for Group Policy" export-for-group-policy
    "$VANTREL_WINE" "$shoot" close || true
else
    status=1
fi
sleep 1
# The same program on Windows 10 with the policy NoRun set: the marks on the
# pages, the Windows 10 and 11 pages in use, and View > "Settings Status...". The prefix's version and the
# policy are put back afterwards.
"$VANTREL_WINE" winecfg -v win10
"$VANTREL_WINE" reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Policies\Explorer' /v NoRun /t REG_DWORD /d 1 /f >/dev/null
"$VANTREL_WINE" "$exe" &
if "$VANTREL_WINE" "$shoot" wait 30000; then
    for frame in Frame2 Frame5 Frame11; do
        if "$VANTREL_WINE" "$shoot" page "$frame"; then
            shot "marks-$frame"
        else
            status=1
        fi
    done
    # The Windows 10 and 11 pages, in use here.
    for frame in Frame22 Frame23 Frame24 Frame25 Frame26; do
        if "$VANTREL_WINE" "$shoot" page "$frame"; then
            shot "win10-$frame"
        else
            status=1
        fi
    done
    # A marked control with the focus shows its words.
    if "$VANTREL_WINE" "$shoot" page Frame2 && "$VANTREL_WINE" "$shoot" focus Text2; then
        shot marks-focus
    else
        status=1
    fi
    dialog "$((n + 2))" status "Settings Status" settings-status
    "$VANTREL_WINE" "$shoot" close || true
else
    status=1
fi
sleep 1
"$VANTREL_WINE" reg delete 'HKCU\Software\Microsoft\Windows\CurrentVersion\Policies\Explorer' /v NoRun /f >/dev/null || true
"$VANTREL_WINE" winecfg -v "$VANTREL_WINVER"
# Ended before the X server goes away.
vantrel_end_wine "$WINEPREFIX"
exit $status
EOF
export wine_env shoot exe out
xvfb-run -a -s "-screen 0 ${VANTREL_SCREEN:-1024x768}x24" bash "$inner"
