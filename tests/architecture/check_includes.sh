#!/usr/bin/env bash
# Fails when a quoted include runs against the layers in docs/architecture.md:
# every include names its file from the source root, and each layer may only
# reach the layers below it.
set -euo pipefail
top=${1:?usage: check_includes.sh SOURCE_ROOT}
cd "$top"

# The folders each layer may include from, itself first.
allowed_for() {
    case "$1" in
    platform) echo "platform" ;;
    core) echo "core platform" ;;
    resources) echo "resources" ;;
    controls) echo "controls core platform resources" ;;
    dialogs) echo "dialogs controls core platform resources" ;;
    app) echo "app dialogs controls core platform resources" ;;
    tools) echo "tools resources" ;;
    tests) echo "tests app dialogs controls core platform resources" ;;
    esac
}

faults=0
while IFS= read -r -d '' file; do
    layer=${file%%/*}
    allowed=$(allowed_for "$layer")
    [ -n "$allowed" ] || continue
    while IFS=: read -r line target; do
        case "$target" in
        *.moc | moc_*) continue ;; # generated beside the source by moc
        esac
        ok=no
        for folder in $allowed; do
            [ "${target%%/*}" = "$folder" ] && ok=yes
        done
        if [ $ok = no ]; then
            echo "$file:$line: \"$target\" is not in a layer $layer may include ($allowed)"
            faults=$((faults + 1))
        elif [ ! -e "$target" ]; then
            echo "$file:$line: \"$target\" does not name a file from the source root"
            faults=$((faults + 1))
        fi
    done < <(grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" |
        sed -E 's/^([0-9]+):[^"]*"([^"]*)".*/\1:\2/')
done < <(for layer in app core controls dialogs platform resources tools tests; do
    [ -d "$layer" ] && find "$layer" \( -name '*.cpp' -o -name '*.h' \) -print0
done)

if [ $faults -gt 0 ]; then
    echo "$faults include(s) against the layers"
    exit 1
fi
echo "includes follow the layers"
