#!/usr/bin/env bash
# Fails when a product file includes a folder above its own. The layers, top
# down: ui/ (the front end, which wires everything together); app/, settings/
# and tools/ (the logic); platform/ (service interfaces and their backends);
# registry/ (the Registry interface, the registry routines and .reg files).
set -euo pipefail
cd "$(dirname "$0")/.."

rank() {
    case "$1" in
        ui) echo 3 ;;
        app | settings | tools) echo 2 ;;
        platform) echo 1 ;;
        registry) echo 0 ;;
        *) echo -1 ;;  # not a layer (resources/, the standard library)
    esac
}

status=0
while IFS= read -r file; do
    own=$(rank "${file%%/*}")
    while IFS= read -r hit; do
        line=${hit%%:*}
        target=${hit#*\"}
        target=${target%%\"*}
        [[ "$target" == */* ]] || continue
        theirs=$(rank "${target%%/*}")
        if [ "$theirs" -gt "$own" ]; then
            echo "$file:$line: includes \"$target\", a layer above its own" >&2
            status=1
        fi
    done < <(grep -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" || true)
done < <(find ui app settings tools platform registry -type f \( -name '*.cpp' -o -name '*.h' \) 2>/dev/null | sort)

[ "$status" -eq 0 ] && echo "layers: every include runs downward"
exit "$status"
