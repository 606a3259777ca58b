#!/usr/bin/env bash
# Screenshots of Vantrel's main window, one per page, taken under Wine in a
# virtual X server. Builds nothing: give it a Windows build folder that holds
# Vantrel.exe and tests/vantrel_shoot.exe (the x86_64 tree where only 64-bit
# Wine runs). The pictures go to <build>/screenshots/.
#
#   scripts/screenshots.sh <build-folder>
#
# WINEPREFIX may name the prefix to use; by default a scratch prefix in the
# build folder is made once and reused; the prefix is set to open its programs
# in a Wine desktop window. Needs xvfb-run and ImageMagick's import.
set -euo pipefail

if [[ $# -ne 1 ]]; then
    echo "usage: $0 <build-folder>" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
exe=$build/Vantrel.exe
shoot=$build/tests/vantrel_shoot.exe
for f in "$exe" "$shoot"; do
    [[ -f $f ]] || { echo "missing $f" >&2; exit 1; }
done
out=$build/screenshots
mkdir -p "$out"

wine=${WINE:-/usr/lib/wine/wine64}
wineserver=${WINESERVER:-/usr/lib/wine/wineserver64}
export WINEPREFIX=${WINEPREFIX:-$build/screenshots-prefix}
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [[ ! -f $WINEPREFIX/system.reg ]]; then
    "$wine" wineboot -i >/dev/null 2>&1
fi
# Every program of the prefix opens in one Wine desktop window, which draws
# the window frames and menu bars itself and lets the helper see Vantrel's window.
"$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
"$wineserver" -w

# Everything below runs inside the virtual X server.
inner=$(mktemp)
trap 'rm -f "$inner"' EXIT
cat >"$inner" <<'EOF'
set -euo pipefail
shot() {  # name: the main window, cropped from the root window
    local rect
    rect=$("$wine" "$shoot" rect | tr -d '\r')
    import -window root -crop "$rect" +repage "$out/$1.png"
    echo "$out/$1.png"
}
"$wine" "$exe" &
status=0
if "$wine" "$shoot" wait 30000; then
    shot 00-start
    n=1
    while read -r frame caption; do
        caption=${caption%$'\r'}
        slug=$(echo "$caption" | tr -c 'A-Za-z0-9\n' '-' | sed 's/-*$//; s/--*/-/g')
        if "$wine" "$shoot" page "$frame"; then
            shot "$(printf '%02d' "$n")-$frame-$slug"
        else
            status=1
        fi
        n=$((n + 1))
    done < <("$wine" "$shoot" pages | tr -d '\r')
    "$wine" "$shoot" close || true
else
    status=1
fi
sleep 1
"$wineserver" -k || true
"$wineserver" -w || true
exit $status
EOF
export wine wineserver shoot exe out
xvfb-run -a -s "-screen 0 1024x768x24" bash "$inner"
