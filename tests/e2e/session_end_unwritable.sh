#!/usr/bin/env bash
# Ends the real trainer with SIGTERM, as a desktop session that ends would,
# while its settings file is read-only: nobody is left to answer a box, so it
# must say on standard error why the settings were not kept, and end.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/term_trainer.sh"

drive() {
    cd "$1"
    term_trainer '^VemiTapiro--\[Untitled\]$' stderr.txt
}

if [ "${1:-}" = --drive ]; then
    drive "$2"
    exit
fi

program=$1
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp "$program" "$folder/vemitrainer"
printf '[Font]\r\nFontSize=12\r\n' >"$folder/vemitrainer.ini"
chmod 0444 "$folder/vemitrainer.ini"
unset QT_QPA_PLATFORM
timeout 120 xvfb-run -a -s '-screen 0 1280x1024x24' bash "${BASH_SOURCE[0]}" --drive "$folder"

if ! grep -qF "$folder/vemitrainer.ini に書き込めません" "$folder/stderr.txt"; then
    echo "no reason on standard error; it said:" >&2
    cat "$folder/stderr.txt" >&2
    exit 1
fi
if ! cmp <(printf '[Font]\r\nFontSize=12\r\n') "$folder/vemitrainer.ini"; then
    echo "the read-only settings file changed" >&2
    exit 1
fi
echo "ended at once and said why on standard error"
