#!/usr/bin/env bash
# Ends the real trainer with SIGTERM, as a desktop session that ends would,
# while its settings file is read-only: nobody is left to answer a box, so it
# must say on standard error why the settings were not kept, and end.
set -euo pipefail

drive() {
    cd "$1"
    ./vemitrainer 2>stderr.txt &
    local pid=$!
    timeout 30 xdotool search --sync --name '^VemiTapiro--\[Untitled\]$' >/dev/null
    kill -TERM "$pid"
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill -KILL "$pid"
        echo "the trainer did not end after SIGTERM" >&2
        exit 1
    fi
    wait "$pid"
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
