#!/usr/bin/env bash
# Start-up benchmark for Vantrel.exe under Wine (not a test): the time from
# process start to the main window shown, measured from outside by the shoot
# helper (it starts the exe, polls for the visible main window, then closes
# it), and the size of the exe in each build given.
#
#   bench/startup_bench.sh <x86_64-build> [i686-build] [runs]
#
# The x86_64 build (Vantrel.exe and tests/vantrel_shoot.exe) is the one that
# runs here, where only 64-bit Wine works; the i686 build, the deliverable, is
# only measured for size. WINEPREFIX may name the prefix (default: a scratch
# prefix in the x86_64 build folder, made once).
set -euo pipefail

if [[ $# -lt 1 ]]; then
    echo "usage: $0 <x86_64-build> [i686-build] [runs]" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
i686=${2:-}
runs=${3:-7}
exe=$build/Vantrel.exe
shoot=$build/tests/vantrel_shoot.exe
for f in "$exe" "$shoot"; do
    [[ -f $f ]] || { echo "missing $f" >&2; exit 1; }
done

size() { stat -c %s "$1"; }
echo "Vantrel.exe size (x86_64): $(size "$exe") bytes"
if [[ -n $i686 ]]; then
    if [[ -f $i686/Vantrel.exe ]]; then
        echo "Vantrel.exe size (i686):   $(size "$i686/Vantrel.exe") bytes"
    else
        echo "no Vantrel.exe in $i686" >&2
    fi
fi

wine=${WINE:-/usr/lib/wine/wine64}
wineserver=${WINESERVER:-/usr/lib/wine/wineserver64}
export WINEPREFIX=${WINEPREFIX:-$build/bench-prefix}
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [[ ! -f $WINEPREFIX/system.reg ]]; then
    "$wine" wineboot -i >/dev/null 2>&1
fi
# One Wine desktop window for all programs of the prefix: no window manager
# round trips in the measurement.
"$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
"$wineserver" -w

inner=$(mktemp)
trap 'rm -f "$inner"' EXIT
cat >"$inner" <<'EOF'
set -euo pipefail
# The helper's own start is not measured; the first run warms Wine's caches
# and is reported apart.
times=()
for ((i = 0; i <= runs; i++)); do
    t=$("$wine" "$shoot" launch "Z:${exe//\//\\}" | tr -d '\r')
    if ((i == 0)); then
        echo "start to window shown, first (cold) run: $t ms"
    else
        times+=("$t")
    fi
done
printf '%s\n' "${times[@]}" | sort -n | awk -v n="${#times[@]}" '
    { v[NR] = $1; sum += $1 }
    END { printf "start to window shown over %d runs: median %.1f ms, min %.1f ms, max %.1f ms, mean %.1f ms\n",
                 n, (n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2), v[1], v[n], sum / n }'
"$wineserver" -k || true
"$wineserver" -w || true
EOF
export wine wineserver shoot exe runs
xvfb-run -a -s "-screen 0 1024x768x24" bash "$inner"
