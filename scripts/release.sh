#!/usr/bin/env bash
# Builds the release of the current commit: Vantrel.exe from a clean clone
# of that commit (uncommitted changes are not in it), packed with README.md,
# BUILDINFO.txt (the commit and the Debian packages it was built with), the
# deployment recipes (deploy/) and the licences of everything linked into
# the exe, as
#   DIST/Vantrel-<version>-<commit>.zip   (version: the exe's VERSIONINFO)
#   DIST/SHA256SUMS                       (that zip's SHA-256, as sha256sum -c reads it)
#
# The same commit built with the same Debian packages gives the same bytes in
# any folder, at any time, by any user: the exe has no time stamp and no
# build path (CMakeLists.txt), and the zip holds its files in a fixed order
# with the commit's time and fixed modes (scripts/release-zip.py).
#
#   scripts/release.sh [--work DIR] [--dist DIR]
#     --work DIR  where the clone and the build go, emptied first (build/release)
#     --dist DIR  where the zip and SHA256SUMS go (dist)
# The last line printed is the zip's path.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$PWD"
JOBS="${JOBS:-2}"
WORK="$ROOT/build/release"
DIST="$ROOT/dist"
while [ $# -gt 0 ]; do
    case "$1" in
        --work) WORK="$(realpath -m "$2")"; shift 2 ;;
        --dist) DIST="$(realpath -m "$2")"; shift 2 ;;
        *) echo "usage: scripts/release.sh [--work DIR] [--dist DIR]" >&2; exit 2 ;;
    esac
done

commit="$(git rev-parse HEAD)"
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
    echo "release: uncommitted changes are left out; building commit $commit as committed" >&2
fi

rm -rf "$WORK"
mkdir -p "$WORK" "$DIST"
# --shared borrows the objects of this repository, so any commit it holds
# can be checked out, on a branch or not. The files are checked out as
# committed, whatever this user's Git settings (only the tree's own
# .gitattributes apply: the recipes' CRLF line ends).
git clone --quiet --shared --no-checkout -c core.autocrlf=false -c core.eol=lf \
    -c core.attributesFile=/dev/null "$ROOT" "$WORK/src"
git -C "$WORK/src" checkout --quiet --detach "$commit"

cmake -S "$WORK/src" -B "$WORK/build" -DCMAKE_TOOLCHAIN_FILE="$WORK/src/cmake/mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=Release >"$WORK/configure.log"
cmake --build "$WORK/build" -j"$JOBS" --target Vantrel >"$WORK/build.log" || { tail -n 40 "$WORK/build.log"; exit 1; }

# The licences of what was linked in: every file of the toolchain the link
# map names (the MinGW-w64 runtime and import libraries, libstdc++, libgcc)
# belongs to a Debian package whose copyright file states its licence.
# libstdc++ and libgcc are GPL 3 with the GCC Runtime Library Exception; the
# GCC copyright file gives the exception and refers to the GPL's text in
# /usr/share/common-licenses, which goes in beside it.
mapfile -t linked < <(grep -oE '/usr/[^ ()]+\.(a|o)' "$WORK/build/Vantrel.map" | xargs -r realpath | sort -u)
[ "${#linked[@]}" -gt 0 ] || { echo "release: the link map names no toolchain file" >&2; exit 1; }
mapfile -t packages < <(dpkg -S "${linked[@]}" | cut -d: -f1 | sort -u)
zip_args=()
while read -r file; do
    zip_args+=("$file=$WORK/src/$file")
done < <(git -C "$WORK/src" ls-files deploy | grep -v '/\.gitattributes$')
for doc in $(for p in "${packages[@]}"; do realpath "/usr/share/doc/$p"; done | sort -u); do
    zip_args+=("licences/$(basename "$doc").txt=$doc/copyright")
done
zip_args+=("licences/GPL-3.txt=/usr/share/common-licenses/GPL-3")

# What a rebuild needs to give the same bytes: the packages of the linked
# files (and of the headers), the linker, CMake, and Python's zipfile and
# the zlib that deflates the zip.
zipfile_package="$(dpkg -S "$(/usr/bin/python3 -c 'import zipfile; print(zipfile.__file__)')" | cut -d: -f1)"
{
    echo "Vantrel, commit $commit"
    echo "Built by scripts/release.sh on Debian with these packages:"
    dpkg-query -W -f='  ${Package} ${Version}\n' "${packages[@]}" binutils-mingw-w64-i686 cmake \
        "$zipfile_package" zlib1g | sort -u
} >"$WORK/BUILDINFO.txt"

/usr/bin/python3 "$ROOT/scripts/release-zip.py" --dist "$DIST" --commit "$commit" \
    --time "$(git show -s --format=%ct "$commit")" --exe "$WORK/build/Vantrel.exe" \
    "README.md=$WORK/src/README.md" "BUILDINFO.txt=$WORK/BUILDINFO.txt" "${zip_args[@]}"
