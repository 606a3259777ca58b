#!/usr/bin/env bash
# The release is reproducible: scripts/release.sh run twice on the current
# commit, in two folders of different names and lengths, the second under
# another clock (faketime, years ahead), time zone, umask and user name,
# gives the same zip byte for byte, whose exe names neither folder, and a
# SHA256SUMS that checks it.
#   tests/release/reproducible.sh [WORK]   (WORK: build/reproducible)
set -euo pipefail
cd "$(dirname "$0")/../.."
ROOT="$PWD"
WORK="$(realpath -m "${1:-build/reproducible}")"
A="$WORK/a"
B="$WORK/the-second-build-in-another-folder"
rm -rf "$WORK"
mkdir -p "$WORK"

fake='@2031-07-04 12:34:56'
if [ "$(faketime -f "$fake" date -u +%Y)" != 2031 ]; then
    echo "reproducible: faketime does not change the clock here" >&2
    exit 1
fi

zip_a="$(TZ=UTC scripts/release.sh --work "$A" --dist "$A/dist" | tail -n 1)"
zip_b="$(umask 077 && TZ=Asia/Kathmandu USER=builder2 LOGNAME=builder2 HOME="$WORK" \
    faketime -f "$fake" scripts/release.sh --work "$B" --dist "$B/dist" | tail -n 1)"

failed=0
fail() { echo "reproducible: $*" >&2; failed=1; }
[ "$(basename "$zip_a")" = "$(basename "$zip_b")" ] || fail "the zips are named differently: $zip_a, $zip_b"
if ! cmp -s "$zip_a" "$zip_b"; then  # which entries differ: their sizes, CRCs, times
    fail "the two zips differ"
    diff <(unzip -lv "$zip_a" | sed 1d) <(unzip -lv "$zip_b" | sed 1d) >&2 || true
fi
strings -a "$A/build/Vantrel.exe" "$B/build/Vantrel.exe" | grep -F -e "$A" -e "$B" -e "$ROOT" >&2 &&
    fail "an exe names a build folder"
(cd "$B/dist" && sha256sum --check --quiet SHA256SUMS) || fail "SHA256SUMS does not check the zip"

[ "$failed" -eq 0 ] || exit 1
echo "reproducible: $(basename "$zip_a") is the same from both builds:"
cat "$A/dist/SHA256SUMS"
