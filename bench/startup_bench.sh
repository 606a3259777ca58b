#!/usr/bin/env bash
# Start-up benchmark (not a test): Vantrel.exe against Wine's own regedit.exe,
# side by side in one prefix and one Wine session, runs alternating.
#
#   bench/startup_bench.sh [product-build] [runs]
#
# product-build: the folder of the product exe (default build/win32, the i686
# build with the XP runtime); runs: timed runs of each program (default 9).
# The launching helper is tests/vantrel_shoot.exe of the Wine test build
# (build/wine32, or build/wine64 where only 64-bit Wine runs; then the 32-bit
# product cannot start, and that build's Vantrel.exe is timed instead).
#
# How each program is measured, the same way for both: the helper reads
# QueryPerformanceCounter just before CreateProcess and again when it first
# finds a visible top-level window (IsWindowVisible) of that process with the
# program's caption ("Vantrel - Version 2.0 -A", "Registry Editor"), polling
# about every millisecond. At that moment it reads the process's peak working
# set with GetProcessMemoryInfo, then closes the window and waits for the
# process to end. One untimed run of each warms Wine's caches first; then the
# two take turns, each always right after the other, 0.3 s apart.
#
# Prints each program's median, minimum and maximum, the ratio of the two
# medians (Vantrel / regedit), the product exe's size and the median peak
# working sets. Exits 1 when the ratio is above 1.0, so it can serve as a
# check; 2 on bad usage or a failed run.
#
# WINEPREFIX may name the prefix (default: a scratch prefix in the Wine test
# build folder); a prefix that does not exist yet is made set to Windows XP
# with one Wine desktop window for all programs, an existing one is used as
# it is. The Wine processes of the prefix are ended when the script ends.
set -euo pipefail

if [[ $# -gt 2 ]]; then
    echo "usage: $0 [product-build] [runs]" >&2
    exit 2
fi
wine_env=$(cd "$(dirname "${BASH_SOURCE[0]}")/../scripts" && pwd)/wine-env.sh
# shellcheck source=../scripts/wine-env.sh
source "$wine_env"
product=$(cd "${1:-$VANTREL_ROOT/build/win32}" && pwd)
runs=${2:-9}
wine_build=$VANTREL_ROOT/build/$VANTREL_WINE_BUILD
shoot=$wine_build/tests/vantrel_shoot.exe
exe=$product/Vantrel.exe
for f in "$exe" "$shoot"; do
    [[ -f $f ]] || { echo "missing $f" >&2; exit 2; }
done
size=$(stat -c %s "$exe")
if [[ $VANTREL_WINEARCH != win32 ]]; then
    echo "32-bit Wine does not run here: timing $wine_build/Vantrel.exe instead of the product exe"
    exe=$wine_build/Vantrel.exe
fi

inner=$(mktemp)
results=$(mktemp)
vantrel_use_prefix "${WINEPREFIX:-$wine_build/bench-prefix}"
trap 'vantrel_end_wine "$WINEPREFIX"; rm -f "$inner" "$results"' EXIT

# Runs inside the virtual X server: one line per timed run,
# "<program> <ms> <peak working set bytes>".
cat >"$inner" <<'EOF'
set -euo pipefail
source "$wine_env"
launch() {  # name exe caption
    local out
    out=$("$VANTREL_WINE" "$shoot" launch "$2" "$3" | tr -d '\r')
    [[ $out =~ ^[0-9.]+\ [0-9]+$ ]] || { echo "$1 did not start: $out" >&2; return 1; }
    echo "$1 $out"
}
vantrel=("Z:${exe//\//\\}" "Vantrel - Version 2.0 -A")
regedit=('C:\windows\regedit.exe' "Registry Editor")
launch vantrel "${vantrel[@]}" >/dev/null
launch regedit "${regedit[@]}" >/dev/null
# Strictly alternating, so that each program always follows the other one,
# with a pause for the last one's end to settle.
for ((i = 0; i < runs; i++)); do
    sleep 0.3
    launch vantrel "${vantrel[@]}"
    sleep 0.3
    launch regedit "${regedit[@]}"
done
# Ended before the X server goes away.
vantrel_end_wine "$WINEPREFIX"
EOF
export wine_env shoot exe runs
if ! xvfb-run -a -s "-screen 0 1024x768x24" bash "$inner" >"$results"; then
    echo "a timed run failed" >&2
    exit 2
fi

awk -v size="$size" -v machine="$(nproc) cores, $("$VANTREL_WINE" --version 2>/dev/null)" '
    function median(a, n,    i, j, t) {
        for (i = 2; i <= n; i++) for (j = i; j > 1 && a[j - 1] > a[j]; j--) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
        return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
    }
    { n[$1]++; ms[$1, n[$1]] = $2; ws[$1, n[$1]] = $3 }
    END {
        printf "machine: %s\n", machine
        for (p = 1; p <= 2; p++) {
            name = p == 1 ? "vantrel" : "regedit"
            for (i = 1; i <= n[name]; i++) { t[i] = ms[name, i]; w[i] = ws[name, i] }
            med[name] = median(t, n[name])
            printf "%-8s start to window shown over %d runs: median %.1f ms, min %.1f ms, max %.1f ms; peak working set median %.1f MiB\n",
                   name, n[name], med[name], t[1], t[n[name]], median(w, n[name]) / 1048576
        }
        ratio = med["vantrel"] / med["regedit"]
        printf "ratio Vantrel / regedit: %.2f (goal 1.00 or less)\n", ratio
        printf "Vantrel.exe (product build): %d bytes, %.0f KiB (goal 600 KiB or less)\n", size, size / 1024
        exit (ratio > 1.0 ? 1 : 0)
    }' "$results"
