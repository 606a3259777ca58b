#!/usr/bin/env bash
# Installs what is needed, builds both trees and runs every test:
#   1. the native tree (logic over the portable platform) with CTest;
#   2. the Windows tree for the product (i686, Vantrel.exe), built to prove it compiles and links;
#   3. the Windows tree that runs here under Wine, tested inside xvfb-run in a
#      fresh prefix of its own; every Wine process it started is ended.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$PWD"
JOBS="${JOBS:-2}"

scripts/install-deps.sh
source scripts/wine-env.sh

echo "== native build"
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/native -j"$JOBS"

echo "== Windows build (i686, the product)"
cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win32 -j"$JOBS"

WINE_TREE="build/$VANTREL_WINE_BUILD"
if [ "$VANTREL_WINE_BUILD" = wine64 ]; then
    echo "== 32-bit Wine cannot run on this machine; the Wine tests use the x86_64 build under 64-bit Wine"
fi
echo "== Windows build for the Wine tests ($WINE_TREE)"
cmake -S . -B "$WINE_TREE" -DCMAKE_TOOLCHAIN_FILE="$VANTREL_TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$WINE_TREE" -j"$JOBS"

echo "== native tests"
set +e
ctest --test-dir build/native --output-on-failure -j"$JOBS" 2>&1 | tee build/native-ctest.log
native_rc=${PIPESTATUS[0]}
set -e

echo "== Wine tests ($VANTREL_WINEARCH prefix)"
PREFIX="$ROOT/build/prefix-test"
trap 'vantrel_end_wine "$PREFIX"' EXIT
vantrel_make_prefix "$PREFIX" desktop
export WINEPREFIX="$PREFIX"
set +e
xvfb-run -a -s "-screen 0 1024x768x24" ctest --test-dir "$WINE_TREE" --output-on-failure 2>&1 | tee build/wine-ctest.log
wine_rc=${PIPESTATUS[0]}
set -e
vantrel_end_wine "$PREFIX"

# One closing line over both trees: "N passed, M failed".
counts() {  # total and failed of a CTest summary line, "0 0" when there is none
    sed -n 's/.*tests passed, \([0-9]*\) tests\{0,1\} failed out of \([0-9]*\).*/\2 \1/p' "$1" | tail -n 1 | grep . || echo "0 0"
}
read -r n_total n_failed < <(counts build/native-ctest.log)
read -r w_total w_failed < <(counts build/wine-ctest.log)
total=$((n_total + w_total))
failed=$((n_failed + w_failed))
if [ "$native_rc" -ne 0 ] || [ "$wine_rc" -ne 0 ] || [ "$total" -eq 0 ]; then
    [ "$failed" -gt 0 ] || failed=1
    echo "tests: $((total - failed)) passed, $failed failed"
    exit 1
fi
echo "tests: $total passed, 0 failed"
