#!/usr/bin/env bash
# Ends the real trainer with one SIGTERM while the start-up error box (a colour
# name that is not one) is up: it must save its settings and end, not wait for
# a second signal.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/term_trainer.sh"

drive() {
    cd "$1"
    term_trainer '^VemiTrainer$' stderr.txt
}

if [ "${1:-}" = --drive ]; then
    drive "$2"
    exit
fi

program=$1
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp "$program" "$folder/vemitrainer"
printf '[Color]\r\nLCDForeColor=cl\r\n[Score]\r\nScoreCount=1\r\nScore0=345\r\n' >"$folder/vemitrainer.ini"
unset QT_QPA_PLATFORM
timeout 120 xvfb-run -a -s '-screen 0 1280x1024x24' bash "${BASH_SOURCE[0]}" --drive "$folder"
if ! grep -q $'^\\[General\\]\r$' "$folder/vemitrainer.ini" || ! grep -q $'^Score0=345\r$' "$folder/vemitrainer.ini"; then
    echo "the settings were not saved:" >&2
    cat "$folder/vemitrainer.ini" >&2
    exit 1
fi
echo "one SIGTERM saved the settings and ended the trainer"
