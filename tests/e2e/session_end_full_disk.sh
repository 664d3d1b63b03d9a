#!/usr/bin/env bash
# Ends the real trainer with SIGTERM while its folder is on a file system with
# no space left: the settings file must stay byte for byte as it was, and the
# trainer must say so on standard error. The file system is a tiny tmpfs in a
# mount namespace of its own; where that cannot be made, the test is skipped.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/term_trainer.sh"

settings=$'[Font]\r\nFontSize=12\r\n[Score]\r\nScoreCount=2\r\nScore0=512\r\nScore1=578\r\n'

# Inside the virtual display; standard error goes to a file off the full disk.
drive() {
    cd "$1"
    term_trainer '^VemiTapiro--\[Untitled\]$' "$2"
}

if [ "${1:-}" = --drive ]; then
    drive "$2" "$3"
    exit
fi

if [ "${1:-}" = --inside ]; then
    program=$2
    folder=$3
    size=$(($(stat -c %s "$program") + 1048576))
    if ! mount -t tmpfs -o "size=$size" tmpfs "$folder"; then
        echo "skipped: no tmpfs may be mounted here, so no tiny file system to fill"
        exit 77
    fi
    cp "$program" "$folder/vemitrainer"
    printf '%s' "$settings" >"$folder/vemitrainer.ini"
    # Fill what is left, so the next write finds no room.
    dd if=/dev/zero of="$folder/filler" bs=4096 2>/dev/null || true
    unset QT_QPA_PLATFORM
    said=$(mktemp)
    trap 'rm -f "$said"' EXIT
    timeout 120 xvfb-run -a -s '-screen 0 1280x1024x24' \
        bash "${BASH_SOURCE[0]}" --drive "$folder" "$said"
    if ! grep -qF "$folder/vemitrainer.ini に書き込めません" "$said"; then
        echo "no reason on standard error; it said:" >&2
        cat "$said" >&2
        exit 1
    fi
    if ! cmp <(printf '%s' "$settings") "$folder/vemitrainer.ini"; then
        echo "the settings file changed on the full disk:" >&2
        od -c "$folder/vemitrainer.ini" | head >&2
        exit 1
    fi
    echo "the full disk kept the settings file whole and the trainer said why"
    exit
fi

program=$1
if ! unshare -m true 2>/dev/null; then
    echo "skipped: no mount namespace can be made here, so no tiny file system to fill"
    exit 77
fi
folder=$(mktemp -d)
trap 'rmdir "$folder"' EXIT
unshare -m bash "${BASH_SOURCE[0]}" --inside "$program" "$folder"
