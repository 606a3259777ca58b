#!/usr/bin/env bash
# Installs what is needed, builds Vantrel.exe, prepares the project's default
# Wine prefix (Windows XP, with an XP C:\boot.ini) and starts Vantrel in it.
# Without a display it runs under a virtual one, saves a screenshot of the
# window to build/vantrel-window.png and ends Vantrel again.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$PWD"

scripts/install-deps.sh
source scripts/wine-env.sh

cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win32 -j2 --target Vantrel
EXE="$ROOT/build/win32/Vantrel.exe"
if [ "$VANTREL_WINE_BUILD" = wine64 ]; then
    echo "32-bit Wine cannot run on this machine: starting the x86_64 build of Vantrel under 64-bit Wine."
    cmake -S . -B "build/$VANTREL_WINE_BUILD" -DCMAKE_TOOLCHAIN_FILE="$VANTREL_TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "build/$VANTREL_WINE_BUILD" -j2 --target Vantrel
    EXE="$ROOT/build/$VANTREL_WINE_BUILD/Vantrel.exe"
fi

PREFIX="${VANTREL_PREFIX:-$ROOT/build/prefix-default}"
if [ ! -f "$PREFIX/drive_c/boot.ini" ]; then
    echo "preparing the Wine prefix $PREFIX"
    if [ -n "${DISPLAY:-}" ]; then vantrel_make_prefix "$PREFIX"; else vantrel_make_prefix "$PREFIX" desktop; fi
fi
export WINEPREFIX="$PREFIX"

if [ -n "${DISPLAY:-}" ]; then
    "$VANTREL_WINE" "$EXE"
    vantrel_end_wine "$PREFIX"
else
    echo "No display is available: running Vantrel under a virtual display and saving a screenshot."
    SHOT="$ROOT/build/vantrel-window.png"
    xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
        "$VANTREL_WINE" "$1" &
        for i in $(seq 1 60); do
            sleep 1
            if xwininfo -root -tree 2>/dev/null | grep -q "Vantrel - Version 2.0 -A"; then break; fi
        done
        sleep 2
        import -window root "$2"
    ' _ "$EXE" "$SHOT"
    vantrel_end_wine "$PREFIX"
    echo "screenshot saved: $SHOT"
fi
