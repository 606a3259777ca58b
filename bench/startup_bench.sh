#!/usr/bin/env bash
# Start-up benchmark (not a test): Vantrel.exe against Wine's own regedit.exe
# and against the floor, an empty-window program (bench/empty_window.cpp: a
# class, a captioned 660x520 window with a tree view and a button, shown and
# updated, a message loop; linked static like the product). All three run in
# one prefix and one Wine session, taking turns.
#
#   bench/startup_bench.sh [product-build] [runs]
#
# product-build: the product tree (default build/win32), which also builds
# the empty-window program and the timer (bench/launch_timer.cpp); runs:
# timed runs of each program (default 9).
#
# Each program is timed the same way: the clock starts just before
# CreateProcess; "shown" is when a visible top-level window of the process
# with the program's caption is first seen (polled about every millisecond);
# "usable" is when that window then answers a message sent to it, which
# happens only once the program's message loop runs. The peak working set is
# read at that moment. One untimed run of each warms Wine's caches first;
# then they take turns, 0.3 s apart.
#
# Prints each program's median, minimum and maximum to shown and to usable,
# the median peak working sets, the ratios of the medians and the product
# exe's size. Exits 1 when a goal is missed: Vantrel usable within 1.10x the
# empty program's time and no later than regedit; peak working set at or
# below regedit's; exe at most 600 KiB. Exits 2 on bad usage or a failed run.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/bench-common.sh"
bench_begin "$@"

# Runs inside the virtual X server: one line per timed run,
# "<program> <shown ms> <usable ms> <peak working set bytes>".
cat >"$inner" <<'INNER'
launch() {  # label exe caption
    local out
    out=$("$VANTREL_WINE" "$timer" window "$2" "$3" | tr -d '\r')
    [[ $out =~ ^[0-9.]+\ [0-9.]+\ [0-9]+$ ]] || { echo "$1 did not start: $out" >&2; return 1; }
    echo "$1 $out"
}
programs=(vantrel "$(winpath "$exe")" "Vantrel - Version 2.0 -A"
          regedit 'C:\windows\regedit.exe' "Registry Editor"
          empty "$(winpath "$product/bench/empty_window.exe")" "Empty Window")
bench_turns 3 0.3 launch "${programs[@]}"
vantrel_end_wine "$WINEPREFIX"
INNER
bench_run_inner

status=0
FIELD3=usable bench_summary "usable,Vantrel/empty: vantrel empty 3 1.10
usable,Vantrel/regedit: vantrel regedit 3 1.00
shown,Vantrel/empty: vantrel empty 2 -
shown,Vantrel/regedit: vantrel regedit 2 -
peak-working-set,Vantrel/regedit: vantrel regedit 4 1.00" <"$results" || status=1
printf '%s: %d bytes, %.0f KiB (goal 600 KiB or less)\n' "$size_of" "$size" "$(echo "$size / 1024" | bc -l)"
[[ $size -le $((600 * 1024)) ]] || status=1
exit "$status"
