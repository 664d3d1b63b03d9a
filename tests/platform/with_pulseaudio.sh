#!/usr/bin/env bash
# Usage: with_pulseaudio.sh CMD [ARG...]
#
# Runs CMD against a PulseAudio server whose default sink is a null sink, so a
# sound test can record what was played without any sound card, and tells CMD
# that sink's name in VEMI_PULSE_SINK.
#
# A private daemon is started for the run where possible, even beside a
# desktop's own server, so the user's sound setup is never touched and
# parallel runs never meet. Where no daemon can be started (PipeWire desktops
# ship no pulseaudio binary) a server that already answers is borrowed: a null
# sink is added and made the default for the run, then everything is put back.
# When there is no server at all, CMD still runs, with VEMI_NO_PULSEAUDIO
# saying why, so the test can skip instead of failing on a machine without
# sound.
set -u

if [ $# -eq 0 ]; then
    echo "usage: $0 CMD [ARG...]" >&2
    exit 2
fi

work=
daemon_pid=
borrowed_module=
previous_default_sink=
child_pid=
failure=

cleanup() {
    if [ -n "$borrowed_module" ]; then
        [ -n "$previous_default_sink" ] && pactl set-default-sink "$previous_default_sink" >/dev/null 2>&1
        pactl unload-module "$borrowed_module" >/dev/null 2>&1
        borrowed_module=
    fi
    if [ -n "$daemon_pid" ]; then
        kill -TERM "$daemon_pid" 2>/dev/null
        # A daemon that ignores TERM must not outlive the run.
        for _ in $(seq 30); do
            kill -0 "$daemon_pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL "$daemon_pid" 2>/dev/null
        wait "$daemon_pid" 2>/dev/null
        daemon_pid=
    fi
    [ -n "$work" ] && rm -rf "$work"
    work=
}

stop_child_and_exit() {
    [ -n "$child_pid" ] && kill -TERM "$child_pid" 2>/dev/null && wait "$child_pid" 2>/dev/null
    exit "$1"
}
trap cleanup EXIT
trap 'stop_child_and_exit 130' INT
trap 'stop_child_and_exit 143' TERM

# CMD runs in the background so that a timeout's TERM reaches this script at
# once and the server is still stopped.
run_command() {
    "$@" &
    child_pid=$!
    wait "$child_pid"
    local status=$?
    child_pid=
    return $status
}

run_without_server() {
    local reason=$1
    shift
    VEMI_NO_PULSEAUDIO="$reason" run_command "$@"
}

server_answers() {
    pactl info >/dev/null 2>&1
}

# Everything the daemon keeps (socket, cookie, state) goes into a folder of its
# own, and no PID file is written, so it needs nothing from the user's session.
start_private_daemon() {
    local sink=vemi_test_null
    work=$(mktemp -d "${TMPDIR:-/tmp}/vemi-pulse.XXXXXX") || {
        failure="no temporary folder"
        return 1
    }
    mkdir -p "$work/runtime/pulse" "$work/home"
    local socket="$work/runtime/pulse/native"

    # --system=false lets root run a per-user daemon (the usual case in CI).
    # The idle timeout is a backstop: if this script is killed outright, the
    # daemon leaves on its own once no client is connected.
    # The decoy sink comes first and is not the default, so a sound sent to
    # the first output instead of the default one is not heard.
    HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" PULSE_RUNTIME_PATH="$work/runtime/pulse" \
        XDG_CONFIG_HOME="$work/home/.config" \
        pulseaudio --daemonize=no --system=false --use-pid-file=no --exit-idle-time=20 \
        --disallow-exit --realtime=no --high-priority=no --disable-shm=yes -n \
        --load="module-null-sink sink_name=vemi_test_decoy" \
        --load="module-null-sink sink_name=$sink" \
        --load="module-native-protocol-unix auth-anonymous=1 socket=$socket" \
        --log-target=stderr </dev/null >"$work/daemon.log" 2>&1 &
    daemon_pid=$!

    export PULSE_SERVER="unix:$socket"
    local _
    for _ in $(seq 100); do
        if ! kill -0 "$daemon_pid" 2>/dev/null; then
            wait "$daemon_pid" 2>/dev/null
            daemon_pid=
            failure=$(grep -E '^E:' "$work/daemon.log" | tail -n 1)
            failure=${failure:-pulseaudio exited at once}
            return 1
        fi
        server_answers && break
        sleep 0.1
    done
    if ! server_answers; then
        failure="the private pulseaudio did not answer within 10 s"
        return 1
    fi
    pactl set-default-sink "$sink" >/dev/null 2>&1 || {
        failure="the null sink could not be made the default"
        return 1
    }
    export VEMI_PULSE_SINK=$sink
}

borrow_running_server() {
    local sink="vemi_test_null_$$"
    local module
    module=$(pactl load-module module-null-sink "sink_name=$sink" 2>/dev/null) || return 1
    borrowed_module=$module
    previous_default_sink=$(pactl get-default-sink 2>/dev/null)
    pactl set-default-sink "$sink" >/dev/null 2>&1 || return 1
    export VEMI_PULSE_SINK=$sink
}

for tool in pactl parecord; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        run_without_server "$tool is not installed (Debian package pulseaudio-utils)" "$@"
        exit $?
    fi
done

saved_server=${PULSE_SERVER-}
saved_server_set=${PULSE_SERVER+set}
if command -v pulseaudio >/dev/null 2>&1 && start_private_daemon; then
    :
else
    [ -n "$failure" ] || failure="pulseaudio is not installed (Debian package pulseaudio)"
    cleanup
    if [ -n "$saved_server_set" ]; then
        export PULSE_SERVER=$saved_server
    else
        unset PULSE_SERVER
    fi
    if ! server_answers; then
        run_without_server "no sound server answers and none could be started: $failure" "$@"
        exit $?
    fi
    if ! borrow_running_server; then
        cleanup
        run_without_server "the running sound server takes no null sink, and none could be started: $failure" "$@"
        exit $?
    fi
fi

run_command "$@"
