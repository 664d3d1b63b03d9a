#!/usr/bin/env bash
# Validates the desktop entry or the AppStream metainfo with the desktop's own
# tools; skips (77) when the tool is not installed.
set -euo pipefail

kind=$1
file=$2
case "$kind" in
desktop) tool=(desktop-file-validate) ;;
metainfo) tool=(appstreamcli validate --no-net --explain) ;;
esac
if ! command -v "${tool[0]}" >/dev/null; then
    echo "skipped: ${tool[0]} is not installed" >&2
    exit 77
fi
output=$("${tool[@]}" "$file" 2>&1) || {
    printf '%s\n' "$output" >&2
    exit 1
}
# desktop-file-validate succeeds with hints and warnings; neither is accepted.
if [ "$kind" = desktop ] && [ -n "$output" ]; then
    printf '%s\n' "$output" >&2
    exit 1
fi
echo "$(basename "$file") is valid"
