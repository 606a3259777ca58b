#!/usr/bin/env bash
# Installs what is needed, builds every tree and runs every test, one stage
# at a time, each timed:
#   1. install: the Debian packages (scripts/install-deps.sh);
#   2. native: the logic over the portable platform, with CTest;
#   3. asan: the same tests again built with AddressSanitizer and
#      UndefinedBehaviorSanitizer (build/native-asan); any report fails;
#   4. fuzz: the .reg reader under libFuzzer (clang, build/fuzz) for a fixed
#      number of runs from a fixed seed, then once over each generated 1 MB
#      file; a crash input is saved in tests/registry/corpus/found/, where the
#      native tests replay it;
#   5. win32: the product's tree (i686, Vantrel.exe), built to prove it
#      compiles and links;
#   6. wine: the Windows tree that runs here under Wine, tested inside
#      xvfb-run in a fresh prefix of its own; every Wine process it started is
#      ended;
#   7. deploy: the deployment recipes (deploy/): the cmd scripts under Wine's
#      cmd against a stand-in for each exit code and against the product exe
#      (tests/deploy/recipes-under-wine.sh), the Ansible playbook's exit-code
#      expressions run by Ansible (tests/deploy/ansible-exit-codes.py);
#   8. release: scripts/release.sh twice, in two folders under two clocks,
#      and the two zips compared byte for byte (tests/release/reproducible.sh).
# The last line counts every stage: "tests: N passed, M failed".
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$PWD"
JOBS="${JOBS:-2}"
FUZZ_RUNS="${FUZZ_RUNS:-1400000}"  # about a minute on two cores

total=0
failed=0
timings=()
mkdir -p build
children_cpu() {  # sets cpu: the CPU seconds of every program this script has started so far
    times >build/.test-times
    cpu=$(awk -F '[ms ]+' 'NR == 2 { printf "%d", 60 * $1 + $2 + 60 * $3 + $4 }' build/.test-times)
}
stage() {  # stage NAME: announces a stage and starts its clocks
    stage_name="$1"
    echo "== $stage_name"
    children_cpu
    stage_cpu=$cpu
    SECONDS=0
}
stage_done() {  # wall time, and CPU time (which other work on the machine does not inflate)
    local wall=$SECONDS
    children_cpu
    timings+=("$(printf '%-8s %4d s, CPU %4d s' "$stage_name" "$wall" "$((cpu - stage_cpu))")")
    echo "== $stage_name: $wall s, CPU $((cpu - stage_cpu)) s"
}
count_ctest() {  # count_ctest LOG RC: adds a CTest run's totals
    local line n_total=0 n_failed=0
    line=$(sed -n 's/.*tests passed, \([0-9]*\) tests\{0,1\} failed out of \([0-9]*\).*/\2 \1/p' "$1" | tail -n 1)
    [ -z "$line" ] || read -r n_total n_failed <<<"$line"
    [ "$2" -eq 0 ] || [ "$n_failed" -gt 0 ] || n_failed=1  # a run that failed without a summary
    total=$((total + n_total))
    failed=$((failed + n_failed))
}
count_check() {  # count_check RC: adds one check that passed when RC is 0
    total=$((total + 1))
    [ "$1" -eq 0 ] || failed=$((failed + 1))
}

stage install
scripts/install-deps.sh
source scripts/wine-env.sh
stage_done

stage native
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/native -j"$JOBS"
set +e
ctest --test-dir build/native --output-on-failure -j"$JOBS" 2>&1 | tee build/native-ctest.log
count_ctest build/native-ctest.log "${PIPESTATUS[0]}"
set -e
stage_done

stage asan
cmake -S . -B build/native-asan -DCMAKE_BUILD_TYPE=Debug -DVANTREL_SANITIZE=ON >/dev/null
cmake --build build/native-asan -j"$JOBS"
set +e
ctest --test-dir build/native-asan --output-on-failure -j"$JOBS" 2>&1 | tee build/asan-ctest.log
count_ctest build/asan-ctest.log "${PIPESTATUS[0]}"
set -e
stage_done

stage fuzz
cmake -S tests/registry/fuzz -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build/fuzz -j"$JOBS"
FOUND="$ROOT/tests/registry/corpus/found"
mkdir -p "$FOUND"
# The fuzzer adds to the corpus it is given: it works on a copy.
rm -rf build/fuzz/corpus build/fuzz/large
cp -r tests/registry/corpus build/fuzz/corpus
/usr/bin/python3 tests/registry/fuzz/make-large-inputs.py build/fuzz/large
limits=(-timeout=10 -rss_limit_mb=1024 -artifact_prefix="$FOUND/")
set +e
build/fuzz/regfile_fuzz -seed=1 -runs="$FUZZ_RUNS" -max_len=8192 -malloc_limit_mb=64 "${limits[@]}" \
    -dict=tests/registry/fuzz/reg.dict -print_final_stats=1 build/fuzz/corpus >build/fuzz/fuzz.log 2>&1
fuzz_rc=$?
if [ "$fuzz_rc" -eq 0 ]; then
    grep -E '^(INFO: seed corpus|Done|stat::)' build/fuzz/fuzz.log
else
    tail -n 60 build/fuzz/fuzz.log  # the report, and where the input was saved
fi
count_check "$fuzz_rc"
build/fuzz/regfile_fuzz "${limits[@]}" build/fuzz/large/*.reg 2>&1 | grep -v -E '^(INFO|\*\*\*)'
count_check "${PIPESTATUS[0]}"
set -e
stage_done

stage win32
cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win32 -j"$JOBS"
stage_done

stage wine
WINE_TREE="build/$VANTREL_WINE_BUILD"
if [ "$VANTREL_WINE_BUILD" = wine64 ]; then
    echo "== 32-bit Wine cannot run on this machine; the Wine tests use the x86_64 build under 64-bit Wine"
fi
cmake -S . -B "$WINE_TREE" -DCMAKE_TOOLCHAIN_FILE="$VANTREL_TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$WINE_TREE" -j"$JOBS"
PREFIX="$ROOT/build/prefix-test"
trap 'vantrel_end_wine "$PREFIX"' EXIT
vantrel_make_prefix "$PREFIX" desktop
export WINEPREFIX="$PREFIX"
set +e
xvfb-run -a -s "-screen 0 1024x768x24" ctest --test-dir "$WINE_TREE" --output-on-failure 2>&1 | tee build/wine-ctest.log
count_ctest build/wine-ctest.log "${PIPESTATUS[0]}"
set -e
vantrel_end_wine "$PREFIX"
stage_done

stage deploy
# The product exe this Wine runs: the product tree's, or the x86_64 build of it.
product_exe=build/win32/Vantrel.exe
[ "$VANTREL_WINE_BUILD" = wine32 ] || product_exe="$WINE_TREE/Vantrel.exe"
set +e
timeout 300 tests/deploy/recipes-under-wine.sh "$product_exe"
count_check $?
vantrel_end_wine "$ROOT/build/prefix-deploy"  # also when the timeout ended the test
timeout 120 tests/deploy/ansible-exit-codes.py
count_check $?
set -e
stage_done

stage release
set +e
timeout 900 tests/release/reproducible.sh
count_check $?
set -e
stage_done

printf '%s\n' "${timings[@]}"
[ "$total" -gt 0 ] || failed=1  # nothing ran: that is a failure too
echo "tests: $((total - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
