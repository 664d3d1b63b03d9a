#!/usr/bin/env bash
# Usage: tools/check-pipewire.sh [BUILD_DIR]
#
# Checks that the alarms are heard on a PipeWire desktop, which ships no
# pulseaudio binary and answers the PulseAudio protocol through
# pipewire-pulse. Installs pipewire, pipewire-pulse and wireplumber if they
# are missing (so it is run as root and is not part of CI), starts a private
# PipeWire session with only null sinks, and runs the sound test through
# tests/platform/with_pulseaudio.sh with no pulseaudio on PATH, so the wrapper
# borrows the running server as it does on such a desktop. Everything started
# is stopped and the temporary folder removed; the packages stay installed.
# BUILD_DIR defaults to ./build, configured as README.md describes.
set -u

top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
packages=(pipewire pipewire-pulse wireplumber pulseaudio-utils dbus dbus-user-session)
# Stands in for the desktop's own output: the wrapper must leave it the default.
desktop_sink=vemi_desktop_speakers

die() {
    echo "check-pipewire: $*" >&2
    exit 1
}

# The session bus wireplumber and pipewire-pulse want is a private one too.
if [ -z "${VEMI_CHECK_PIPEWIRE_BUS-}" ]; then
    missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        [ "$(id -u)" -eq 0 ] || die "run as root to install ${missing[*]}"
        if ! { apt-get update -qq \
            && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"; }; then
            die "could not install ${missing[*]}"
        fi
    fi
    [ -d "$build" ] || die "no build folder $build (configure it as README.md says)"
    cmake --build "$build" -j2 --target tst_pulsesoundplayer || die "the sound test did not build"
    VEMI_CHECK_PIPEWIRE_BUS=1 exec dbus-run-session -- bash "$0" "$build"
fi

test_binary=$build/tests/platform/tst_pulsesoundplayer
[ -x "$test_binary" ] || die "no $test_binary"

work=$(mktemp -d "${TMPDIR:-/tmp}/vemi-pipewire.XXXXXX") || die "no temporary folder"
pids=()
cleanup() {
    local i
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill -TERM "${pids[i]}" 2>/dev/null
        wait "${pids[i]}" 2>/dev/null
    done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

mkdir -p "$work/runtime" "$work/home" "$work/bin"
chmod 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime HOME=$work/home XDG_CONFIG_HOME=$work/home/.config \
    XDG_STATE_HOME=$work/home/.local/state XDG_DATA_HOME=$work/home/.local/share
export PULSE_SERVER=unix:$XDG_RUNTIME_DIR/pulse/native
unset PIPEWIRE_REMOTE PULSE_RUNTIME_PATH

start() {
    local name=$1
    "$name" </dev/null >"$work/$name.log" 2>&1 &
    pids+=($!)
}
show_logs() {
    local f
    for f in "$work"/*.log; do
        echo "--- $(basename "$f")"
        tail -n 20 "$f"
    done >&2
}

start pipewire
for _ in $(seq 100); do
    [ -S "$XDG_RUNTIME_DIR/pipewire-0" ] && break
    sleep 0.1
done
start wireplumber
start pipewire-pulse

# The default sink can be set once wireplumber keeps the session's metadata.
ready=
for _ in $(seq 100); do
    if pactl info >/dev/null 2>&1; then
        if [ -z "$(pactl list short sinks 2>/dev/null | awk -v s="$desktop_sink" '$2 == s')" ]; then
            pactl load-module module-null-sink "sink_name=$desktop_sink" >/dev/null 2>&1
        fi
        if pactl set-default-sink "$desktop_sink" >/dev/null 2>&1 \
            && [ "$(pactl get-default-sink 2>/dev/null)" = "$desktop_sink" ]; then
            ready=1
            break
        fi
    fi
    sleep 0.1
done
[ -n "$ready" ] || {
    show_logs
    die "the private PipeWire session did not come up"
}
pactl info | grep -E '^(Server Name|Default Sink):'

# Every command on PATH except pulseaudio, as on a PipeWire desktop.
IFS=: read -r -a path_dirs <<<"$PATH"
for dir in "${path_dirs[@]}"; do
    [ -d "$dir" ] || continue
    for f in "$dir"/*; do
        name=${f##*/}
        [ "$name" = pulseaudio ] || [ -e "$work/bin/$name" ] || ln -s "$f" "$work/bin/$name"
    done
done
if PATH=$work/bin command -v pulseaudio >/dev/null; then
    die "pulseaudio is still on PATH"
fi

echo "check-pipewire: running $test_binary through with_pulseaudio.sh"
PATH=$work/bin QT_QPA_PLATFORM=offscreen \
    bash "$top/tests/platform/with_pulseaudio.sh" "$test_binary"
status=$?

# The borrowed server is handed back as it was found.
after=$(pactl get-default-sink 2>/dev/null)
left=$(pactl list short sinks 2>/dev/null | awk '$2 ~ /^vemi_test_null/ { print $2 }')
[ "$after" = "$desktop_sink" ] || die "the default sink is $after after the test, not $desktop_sink"
[ -z "$left" ] || die "the test left the sink $left behind"

case $status in
0) echo "check-pipewire: passed" ;;
77) die "the sound test skipped: it found no sound server to listen to" ;;
*) die "the sound test failed (exit $status)" ;;
esac
