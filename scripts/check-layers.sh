#!/usr/bin/env bash
# Fails when a product file includes a folder above its own, or a folder of
# its own rank. The layers, top down, one rank each:
#   ui/        the front end, which wires everything together;
#   app/       start-up, navigation, the apply pass and the commands;
#   settings/  the catalogue and its passes    } one rank, and neither
#   tools/     the system tools                } includes the other;
#   model/     the forms and their controls, and the services bundle;
#   platform/  service interfaces with their backends, whole-file writing
#              and the words messages are made of;
#   registry/  the Registry interface, the registry routines and .reg files.
# Usage: check-layers.sh [ROOT]          checks the tree at ROOT (default: this one)
#        check-layers.sh --self-test     plants an upward include in a copy of
#                                        this tree and passes only when the check fails on it
set -euo pipefail

if [ "${1:-}" = --self-test ]; then
    here="$(cd "$(dirname "$0")/.." && pwd)"
    copy=$(mktemp -d)
    trap 'rm -rf "$copy"' EXIT
    for layer in ui app settings tools model platform registry; do cp -r "$here/$layer" "$copy/"; done
    bash "$0" "$copy" >/dev/null || { echo "the clean copy failed the check" >&2; exit 1; }
    for plant in "settings/Engine.cpp:app/App.h" "settings/Passes.cpp:tools/Tools.h" "model/Controls.cpp:settings/TweakRow.h" \
                 "registry/RegFile.cpp:platform/Platform.h"; do
        file=${plant%%:*}
        cp "$here/$file" "$copy/$file.orig"
        printf '#include "%s"\n' "${plant#*:}" >>"$copy/$file"
        if bash "$0" "$copy" 2>/dev/null; then
            echo "a planted include of ${plant#*:} in $file passed the check" >&2
            exit 1
        fi
        mv "$copy/$file.orig" "$copy/$file"
    done
    echo "layers: every planted upward include was refused"
    exit 0
fi

cd "${1:-$(dirname "$0")/..}"

rank() {
    case "$1" in
        ui) echo 6 ;;
        app) echo 5 ;;
        settings | tools) echo 4 ;;
        model) echo 3 ;;
        platform) echo 2 ;;
        registry) echo 1 ;;
        *) echo 0 ;;  # not a layer (resources/, the standard library)
    esac
}

status=0
while IFS= read -r file; do
    folder=${file%%/*}
    own=$(rank "$folder")
    while IFS= read -r hit; do
        line=${hit%%:*}
        target=${hit#*\"}
        target=${target%%\"*}
        [[ "$target" == */* ]] || continue
        theirs_folder=${target%%/*}
        theirs=$(rank "$theirs_folder")
        if [ "$theirs" -gt "$own" ]; then
            echo "$file:$line: includes \"$target\", a layer above its own" >&2
            status=1
        elif [ "$theirs" -eq "$own" ] && [ "$theirs_folder" != "$folder" ]; then
            echo "$file:$line: includes \"$target\", a layer beside its own" >&2
            status=1
        fi
    done < <(grep -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" || true)
done < <(find ui app settings tools model platform registry -type f \( -name '*.cpp' -o -name '*.h' \) 2>/dev/null | sort)

[ "$status" -eq 0 ] && echo "layers: every include runs downward"
exit "$status"
