#!/usr/bin/env bash
# Installs what building, running and testing Vantrel needs on Debian 12.
set -euo pipefail
packages=(cmake make g++ libgtest-dev googletest mingw-w64 wine wine64 wine32:i386 xvfb xauth x11-utils imagemagick python3 clang libclang-rt-14-dev fonts-wine python3-samba faketime unzip ansible python3-yaml)
sudo=""
[ "$(id -u)" = 0 ] || sudo="sudo"
missing=()
for p in "${packages[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        $sudo dpkg --add-architecture i386
    fi
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${packages[@]}"
fi
