# Sourced by the project's scripts: picks the Wine that runs here and the
# Windows build that matches it, and offers prefix helpers.
#
# Vantrel.exe is a 32-bit program (build/win32, MinGW's win32 thread model).
# The Wine tests need GoogleTest, which needs the posix thread model, so they
# are built in a tree of their own. Where the machine can run 32-bit Wine,
# that tree is i686 (build/wine32) and runs in a 32-bit prefix set to XP.
# Where the kernel cannot execute 32-bit Linux programs (no IA-32 emulation),
# 32-bit Wine cannot start at all; the same sources are then built for x86_64
# and run under 64-bit Wine in a win64 prefix set to Windows XP x64.

VANTREL_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# Wine needs a home folder to exist; CI may run without HOME set.
: "${HOME:=$(getent passwd "$(id -u)" | cut -d: -f6)}"
export HOME
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

if [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
    VANTREL_WINE=/usr/lib/wine/wine
    VANTREL_WINEARCH=win32
    VANTREL_WINVER=winxp
    VANTREL_TOOLCHAIN="$VANTREL_ROOT/cmake/mingw-i686-posix.cmake"
    VANTREL_WINE_BUILD=wine32
else
    VANTREL_WINE=/usr/lib/wine/wine64
    VANTREL_WINEARCH=win64
    VANTREL_WINVER=winxp64
    VANTREL_TOOLCHAIN="$VANTREL_ROOT/cmake/mingw-x86_64.cmake"
    VANTREL_WINE_BUILD=wine64
fi
if [ -x /usr/lib/wine/wineserver64 ] && [ "$VANTREL_WINEARCH" = win64 ]; then
    VANTREL_WINESERVER=/usr/lib/wine/wineserver64
elif [ -x /usr/lib/wine/wineserver32 ]; then
    VANTREL_WINESERVER=/usr/lib/wine/wineserver32
else
    VANTREL_WINESERVER=wineserver
fi
export VANTREL_WINE VANTREL_WINEARCH VANTREL_WINESERVER

# vantrel_make_prefix DIR [desktop]: a fresh prefix in DIR, set to Windows XP,
# with a realistic XP C:\boot.ini. With "desktop", every window opens inside a
# Wine virtual desktop: without a window manager (Xvfb), Wine otherwise waits
# about two seconds whenever a top-level window is hidden or destroyed.
vantrel_make_prefix() {
    local dir="$1" desktop="${2:-}"
    rm -rf "$dir"
    mkdir -p "$(dirname "$dir")"
    WINEPREFIX="$dir" WINEARCH="$VANTREL_WINEARCH" "$VANTREL_WINE" wineboot -i >/dev/null 2>&1 || true
    WINEPREFIX="$dir" "$VANTREL_WINE" winecfg -v "$VANTREL_WINVER" >/dev/null 2>&1 || true
    if [ "$desktop" = desktop ]; then
        WINEPREFIX="$dir" "$VANTREL_WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 || true
        WINEPREFIX="$dir" "$VANTREL_WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1 || true
    fi
    WINEPREFIX="$dir" "$VANTREL_WINESERVER" -w || true
    if [ ! -d "$dir/drive_c" ]; then
        echo "could not create the Wine prefix $dir" >&2
        return 1
    fi
    # Wine's own fonts (Debian's fonts-wine) go where this Wine finds them:
    # its build does not look in /usr/share/wine/fonts, and without Marlett
    # the caption buttons show the letters "0 1 r" instead of their glyphs.
    if [ -d /usr/share/wine/fonts ]; then
        mkdir -p "$dir/drive_c/windows/Fonts"
        cp /usr/share/wine/fonts/* "$dir/drive_c/windows/Fonts/" 2>/dev/null || true
    fi
    printf '%s\r\n' \
        '[boot loader]' \
        'timeout=30' \
        'default=multi(0)disk(0)rdisk(0)partition(1)\WINDOWS' \
        '[operating systems]' \
        'multi(0)disk(0)rdisk(0)partition(1)\WINDOWS="Microsoft Windows XP Professional" /noexecute=optin /fastdetect' \
        > "$dir/drive_c/boot.ini"
}

# vantrel_use_prefix DIR: WINEPREFIX=DIR, made (with a virtual desktop) when
# it does not exist yet; an existing prefix is used as it is.
vantrel_use_prefix() {
    export WINEPREFIX="$1"
    [ -f "$WINEPREFIX/system.reg" ] || vantrel_make_prefix "$WINEPREFIX" desktop
}

# vantrel_make_wow64_prefix DIR: a fresh 64-bit prefix set to Windows XP x64,
# where 32-bit programs run under WOW64 (needs 64-bit Wine beside the 32-bit
# one); vantrel_end_wow64_prefix DIR ends its Wine processes.
vantrel_make_wow64_prefix() {
    VANTREL_WINE=/usr/lib/wine/wine64 VANTREL_WINEARCH=win64 VANTREL_WINVER=winxp64 \
        VANTREL_WINESERVER=/usr/lib/wine/wineserver64 vantrel_make_prefix "$1"
}
vantrel_end_wow64_prefix() {
    VANTREL_WINESERVER=/usr/lib/wine/wineserver64 vantrel_end_wine "$1"
}

# vantrel_end_wine DIR: ends every Wine process of the prefix and waits for them.
vantrel_end_wine() {
    local dir="$1"
    [ -d "$dir" ] || return 0
    WINEPREFIX="$dir" "$VANTREL_WINESERVER" -k >/dev/null 2>&1 || true
    WINEPREFIX="$dir" "$VANTREL_WINESERVER" -w >/dev/null 2>&1 || true
}
