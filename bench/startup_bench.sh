#!/usr/bin/env bash
# Start-up benchmark for Vantrel.exe under Wine (not a test): the time from
# process start to the main window shown, measured from outside by the shoot
# helper (it starts the exe, polls for the visible main window, then closes
# it), and the size of the exe in each build given.
#
#   bench/startup_bench.sh [wine-build] [product-build] [runs]
#
# The wine build (Vantrel.exe and tests/vantrel_shoot.exe, built for the Wine
# that runs here; default: build/wine32 or build/wine64, as scripts/wine-env.sh
# picks; an empty argument also means the default) is the one timed; the
# product build (build/win32, the deliverable) is only measured for size.
# WINEPREFIX may name the prefix (default: a scratch prefix in the wine build
# folder); a prefix that does not exist yet is made with one Wine desktop
# window for all programs, an existing one is used as it is. The Wine
# processes of the prefix are ended when the script ends.
set -euo pipefail

if [[ $# -gt 3 ]]; then
    echo "usage: $0 [wine-build] [product-build] [runs]" >&2
    exit 2
fi
wine_env=$(cd "$(dirname "${BASH_SOURCE[0]}")/../scripts" && pwd)/wine-env.sh
# shellcheck source=../scripts/wine-env.sh
source "$wine_env"
build=$(cd "${1:-$VANTREL_ROOT/build/$VANTREL_WINE_BUILD}" && pwd)
product=${2:-}
runs=${3:-7}
exe=$build/Vantrel.exe
shoot=$build/tests/vantrel_shoot.exe
for f in "$exe" "$shoot"; do
    [[ -f $f ]] || { echo "missing $f" >&2; exit 1; }
done

size() { stat -c %s "$1"; }
echo "Vantrel.exe size ($VANTREL_WINE_BUILD build): $(size "$exe") bytes"
if [[ -n $product ]]; then
    if [[ -f $product/Vantrel.exe ]]; then
        echo "Vantrel.exe size (product build): $(size "$product/Vantrel.exe") bytes"
    else
        echo "no Vantrel.exe in $product" >&2
    fi
fi

# One Wine desktop window for all programs of the prefix: no window manager
# round trips in the measurement.
inner=$(mktemp)
vantrel_use_prefix "${WINEPREFIX:-$build/bench-prefix}"
trap 'vantrel_end_wine "$WINEPREFIX"; rm -f "$inner"' EXIT

cat >"$inner" <<'EOF'
set -euo pipefail
source "$wine_env"
# The helper's own start is not measured; the first run warms Wine's caches
# and is reported apart.
times=()
for ((i = 0; i <= runs; i++)); do
    t=$("$VANTREL_WINE" "$shoot" launch "Z:${exe//\//\\}" | tr -d '\r')
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
# Ended before the X server goes away.
vantrel_end_wine "$WINEPREFIX"
EOF
export wine_env shoot exe runs
xvfb-run -a -s "-screen 0 1024x768x24" bash "$inner"
