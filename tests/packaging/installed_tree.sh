#!/usr/bin/env bash
# Checks what an install lays out: every file of installed_files.txt plus each
# bundled practice text, and nothing else; and where the installed program keeps things.
#   install BUILD SOURCE           `cmake --install` into a temporary prefix
#   package BUILD SOURCE VERSION   `cpack -G DEB`, then the package's name, file list and fields,
#                                  and the Debian files it carries (debian_files.sh)
#   start BUILD SOURCE             the installed program on a virtual X display, with the
#                                  user's folders in a temporary home: where it keeps things
set -euo pipefail
# cmake and cpack handle the texts' Japanese file names only in a UTF-8 locale.
export LC_ALL=C.UTF-8

# Inside the virtual display: start the program, wait for its window, end it as a session end would.
if [ "$1" = --drive ]; then
    "$2" &
    pid=$!
    timeout 30 xdotool search --sync --name '^VemiTapiro--\[Untitled\]$' >/dev/null
    kill -TERM "$pid"
    wait "$pid"
    exit
fi

mode=$1
build=$2
source=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

expected() {
    {
        cat "$source/tests/packaging/installed_files.txt"
        for text in "$source/resources/問題"/*.txt; do
            echo "share/vemitrainer/問題/$(basename "$text")"
        done
    } | LC_ALL=C sort
}

compare() {
    if ! diff -u <(expected) <(LC_ALL=C sort); then
        echo "the $mode lays out other files than expected (- missing, + extra)" >&2
        exit 1
    fi
}

if [ "$mode" = install ]; then
    cmake --install "$build" --prefix "$work/prefix" >/dev/null
    (cd "$work/prefix" && find . -type f -printf '%P\n') | compare
    echo "install tree as expected"
    exit 0
fi

if [ "$mode" = start ]; then
    cmake --install "$build" --prefix "$work/prefix" >/dev/null
    export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
    unset QT_QPA_PLATFORM
    timeout 120 xvfb-run -a -s '-screen 0 1280x1024x24' \
        bash "${BASH_SOURCE[0]}" --drive "$work/prefix/bin/vemitrainer"
    ini="$XDG_CONFIG_HOME/vemitrainer/vemitrainer.ini"
    grep -qxF "AlarmSoundFile=$work/prefix/share/vemitrainer/Sound/Timeup.wav"$'\r' "$ini" || {
        echo "no settings in $ini pointing at the shipped sounds" >&2
        exit 1
    }
    [ -d "$XDG_DATA_HOME/vemitrainer/問題" ] || { echo "no folder for the learner's texts" >&2; exit 1; }
    [ ! -e "$work/prefix/bin/vemitrainer.ini" ] || { echo "settings written beside the program" >&2; exit 1; }
    echo "the installed program keeps its settings and texts in the user's folders"
    exit 0
fi

started=$(date +%s)
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log" >&2
    exit 1
}
package="$work/vemitrainer_$4_$(dpkg --print-architecture).deb"
if [ ! -f "$package" ]; then
    echo "no package named $(basename "$package"); cpack made:" >&2
    ls "$work" >&2
    exit 1
fi
dpkg-deb -c "$package" | awk '$1 ~ /^-/ { print $6 }' | sed 's|^\./usr/||' | compare

fail=0
depends=$(dpkg-deb -f "$package" Depends)
for needed in fonts-ipafont-gothic fonts-ipafont-mincho libqt6widgets6 libpulse0 libsndfile1 libc6; do
    if ! grep -qE "(^|, )$needed( |,|$)" <<<"$depends"; then
        echo "Depends lacks $needed: $depends" >&2
        fail=1
    fi
done
# Two WAV alarms do not need a media framework and its codecs.
if grep -qE "(^|, )libqt6multimedia6( |,|$)" <<<"$depends"; then
    echo "Depends still pulls Qt Multimedia: $depends" >&2
    fail=1
fi
for field in Package:vemitrainer Section:education 'Suggests:ibus-mozc | fcitx5-mozc'; do
    value=$(dpkg-deb -f "$package" "${field%%:*}")
    if [ "$value" != "${field#*:}" ]; then
        echo "${field%%:*} is '$value', not '${field#*:}'" >&2
        fail=1
    fi
done
[ -n "$(dpkg-deb -f "$package" Maintainer)" ] || { echo "no Maintainer" >&2; fail=1; }
bash "$(dirname "${BASH_SOURCE[0]}")/debian_files.sh" "$package" "$source" || fail=1
[ "$fail" = 0 ] || exit 1
echo "package $(basename "$package") as expected, built in $(($(date +%s) - started)) s"
