#!/usr/bin/env bash
# Deployment-run benchmark (not a test): "Vantrel.exe /apply FILE" against
# "regedit /s FILE" for a profile that "Vantrel.exe /export" has just
# written, both timed from just before CreateProcess to the end of the
# process, taking turns under one Wine server. "/export FILE" and, where the
# exe has it, "/check FILE" are timed in the same turns against the same
# regedit figure.
#
#   bench/apply_bench.sh [product-build] [runs]
#
# product-build: the product tree (default build/win32); runs: timed runs of
# each (default 9). The peak working set is read from the running process
# about every millisecond.
#
# Prints each mode's median, minimum and maximum, the median peak working
# sets and the ratios to regedit /s. Exits 1 when /apply's median is above
# 1.5x regedit's, or a mode's peak working set above regedit's; 2 on bad
# usage or a failed run.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/bench-common.sh"
bench_begin "$@"

# Runs inside the virtual X server: one line per timed run,
# "<mode> <ms> <exit code> <peak working set bytes>".
cat >"$inner" <<'INNER'
vantrel=$(winpath "$exe")
run() {  # label exe arguments...
    local label=$1 out
    shift
    out=$("$VANTREL_WINE" "$timer" exit "$@" | tr -d '\r')
    [[ $out =~ ^[0-9.]+\ [0-9]+\ [0-9]+$ ]] || { echo "$label did not run: $out" >&2; return 1; }
    echo "$label $out"
}
profile='C:\bench-profile.reg'
# The profile, and one untimed run of each to warm Wine's caches.
out=$(run export "$vantrel" /export "$profile")
[[ $(echo "$out" | cut -d' ' -f3) == 0 ]] || { echo "/export of the profile failed: $out" >&2; exit 1; }
modes=(apply "$vantrel" /apply "$profile"
       regedit 'C:\windows\regedit.exe' /s "$profile"
       export "$vantrel" /export 'C:\bench-export.reg')
check=$(run check "$vantrel" /check "$profile")
if [[ $(echo "$check" | cut -d' ' -f3) != 2 ]]; then modes+=(check "$vantrel" /check "$profile"); fi
bench_turns 4 0.2 run "${modes[@]}"
vantrel_end_wine "$WINEPREFIX"
INNER
bench_run_inner
awk '$3 != 0 && $1 != "check" { print "note: " $1 " ended with " $3 }' "$results" | sort -u
goals="apply/regedit: apply regedit 2 1.50
export/regedit: export regedit 2 -
peak-working-set,apply/regedit: apply regedit 4 1.00
peak-working-set,export/regedit: export regedit 4 1.00"
if grep -q '^check ' "$results"; then
    goals+=$'\n'"check/regedit: check regedit 2 -"$'\n'"peak-working-set,check/regedit: check regedit 4 1.00"
fi
bench_summary "$goals" <"$results"
