# Sourced by the Wine benchmarks: finds the product exe and the timer, sets up
# the prefix, and summarises timed runs.
#
# bench_setup BUILD: sets exe (the Vantrel.exe timed), timer (the
# launch_timer.exe of that build), size (the bytes of the product exe,
# build/win32/Vantrel.exe, or of the timed one when there is none) and
# size_of (which exe that is). Where only 64-bit Wine runs, the timed build is
# the x86_64 one (build/wine64), and the bench says so: the product exe's own
# figures come from 32-bit Wine. The prefix is WINEPREFIX, or a scratch prefix
# in the build folder (made set to Windows XP with one Wine desktop window
# for all programs); its Wine processes are ended when the calling script
# ends.
wine_env=$(cd "$(dirname "${BASH_SOURCE[0]}")/../scripts" && pwd)/wine-env.sh
# shellcheck source=../scripts/wine-env.sh
source "$wine_env"

bench_setup() {
    product=$(cd "$1" && pwd)
    exe=$product/Vantrel.exe
    timer=$product/bench/launch_timer.exe
    local f
    for f in "$exe" "$timer" "$product/bench/empty_window.exe"; do
        [[ -f $f ]] || { echo "missing $f (build the tree: cmake --build $1)" >&2; exit 2; }
    done
    size_of=$VANTREL_ROOT/build/win32/Vantrel.exe
    [[ -f $size_of ]] || size_of=$exe
    size=$(stat -c %s "$size_of")
    local timed="$exe"
    if [[ $VANTREL_WINEARCH != win32 ]]; then
        if [[ $(od -An -tx1 -j"$(( $(od -An -tu4 -j60 -N4 "$exe") + 4 ))" -N2 "$exe" | tr -d ' ') == 4c01 ]]; then
            echo "only 64-bit Wine runs here, and $exe is a 32-bit build: give the x86_64 build (build/$VANTREL_WINE_BUILD)" >&2
            exit 2
        fi
        timed="$exe: the x86_64 build under 64-bit Wine, as only 64-bit Wine runs here, not the product exe (whose figures come from 32-bit Wine)"
    fi
    vantrel_use_prefix "${WINEPREFIX:-$product/bench-prefix}"
    export wine_env exe timer product
    echo "machine: $(nproc) cores, $(free -g | awk '/^Mem:/ { print $2 }') GiB, $("$VANTREL_WINE" --version 2>/dev/null); timed: $timed"
}

# bench_begin "$@": the benches' common start: at most two arguments (the
# product tree, the number of runs), bench_setup, then `runs`, and the
# temporary files `inner` (the script run inside the virtual X server) and
# `results` (its output), removed, and the prefix's Wine ended, when the
# calling script ends.
bench_begin() {
    if [[ $# -gt 2 ]]; then
        echo "usage: $0 [product-build] [runs]" >&2
        exit 2
    fi
    local build=win32
    [[ $VANTREL_WINEARCH == win32 ]] || build=$VANTREL_WINE_BUILD
    bench_setup "${1:-$VANTREL_ROOT/build/$build}"
    runs=${2:-9}
    export runs
    inner=$(mktemp)
    results=$(mktemp)
    trap 'vantrel_end_wine "$WINEPREFIX"; rm -f "$inner" "$results"' EXIT
}

# bench_turns FIELDS PAUSE COMMAND ITEM...: the ITEMs, FIELDS words each, are
# run by COMMAND once each untimed (to warm Wine's caches, output dropped),
# then `runs` times each taking turns, PAUSE seconds apart.
bench_turns() {
    local fields=$1 pause=$2 command=$3 i j
    shift 3
    local items=("$@")
    for ((j = 0; j < ${#items[@]}; j += fields)); do "$command" "${items[@]:j:fields}" >/dev/null; done
    for ((i = 0; i < runs; i++)); do
        for ((j = 0; j < ${#items[@]}; j += fields)); do
            sleep "$pause"
            "$command" "${items[@]:j:fields}"
        done
    done
}

# bench_run_inner: runs the script `inner` inside a virtual X server, with
# the Wine settings and these helpers at hand and any failed command ending
# it, its lines into `results`; exits 2 when a timed run failed.
bench_run_inner() {
    local common
    common=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/bench-common.sh
    if ! xvfb-run -a -s "-screen 0 1024x768x24" bash -c 'set -euo pipefail; source "$1"; source "$2"' \
        bench "$common" "$inner" >"$results"; then
        echo "a timed run failed" >&2
        exit 2
    fi
}

# A Windows path for a file of this machine.
winpath() { echo "Z:${1//\//\\}"; }

# bench_summary GOAL_LINES < results: results are lines "<label> <ms> ... <peak
# bytes>" (the peak in the last field). For each label prints the median,
# minimum and maximum of field 2 (and of field 3 when FIELD3 is set, named by
# it), and the median peak working set. GOAL_LINES are "name numerator
# denominator field goal" lines: each prints the ratio of two labels' medians
# of that field and fails (exit 1) when it is above the goal.
bench_summary() {
    awk -v goals="$1" -v field3="${FIELD3:-}" '
        function median(a, n,    i, j, t) {
            for (i = 2; i <= n; i++) for (j = i; j > 1 && a[j - 1] > a[j]; j--) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
            return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
        }
        function stats(label, f, what,    i, t) {
            for (i = 1; i <= n[label]; i++) t[i] = v[label, i, f]
            med[label, f] = median(t, n[label])
            printf "  %-14s %-8s median %7.1f ms, min %7.1f, max %7.1f (%d runs)\n", label, what, med[label, f], t[1], t[n[label]], n[label]
        }
        { if (!($1 in n)) order[++labels] = $1; n[$1]++; for (f = 2; f <= NF; f++) v[$1, n[$1], f] = $f; last[$1] = NF }
        END {
            for (l = 1; l <= labels; l++) {
                label = order[l]
                stats(label, 2, field3 == "" ? "" : "shown")
                if (field3 != "") stats(label, 3, field3)
                for (i = 1; i <= n[label]; i++) w[i] = v[label, i, last[label]]
                printf "  %-14s peak working set median %.1f MiB\n", label, median(w, n[label]) / 1048576
            }
            status = 0
            count = split(goals, lines, "\n")
            for (g = 1; g <= count; g++) {
                if (split(lines[g], p, " ") < 5) continue
                sub(/:$/, "", p[1])
                if (!((p[2], p[4]) in med)) { for (i = 1; i <= n[p[2]]; i++) w[i] = v[p[2], i, p[4]]; med[p[2], p[4]] = median(w, n[p[2]]) }
                if (!((p[3], p[4]) in med)) { for (i = 1; i <= n[p[3]]; i++) w[i] = v[p[3], i, p[4]]; med[p[3], p[4]] = median(w, n[p[3]]) }
                ratio = med[p[2], p[4]] / med[p[3], p[4]]
                if (p[5] == "-") { printf "ratio %s: %.2f\n", p[1], ratio; continue }
                ok = ratio <= p[5]
                printf "ratio %s: %.2f (goal %.2f or less)%s\n", p[1], ratio, p[5], ok ? "" : "  ABOVE THE GOAL"
                if (!ok) status = 1
            }
            exit status
        }'
}
