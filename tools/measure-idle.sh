#!/usr/bin/env bash
# Measures how quietly and how quickly the trainer runs, on a private virtual
# X display (Xvfb) beside a private PulseAudio server, as on a desktop.
#
#   tools/measure-idle.sh [--runs N] [--first-window-only] [--peer COMMAND]... [EXECUTABLE]
#
# EXECUTABLE defaults to build-release/bin/vemitrainer (what `tools/build.sh
# run` builds). It is copied with its sound module and its "問題" and "Sound"
# folders into a temporary folder and started there with no settings file, so the build
# folder is never written. HOME and the XDG folders point into that folder
# too, so no program measured here touches the user's own settings.
#
# First window: the time from just before the program is started until the X
# server reports the map of its first top-level window (a MapNotify seen by
# `xev -root -event substructure`; the display is private, so the first map
# is the program's), and the resident memory (VmRSS from /proc/PID/status)
# read at that moment. Each program is started --runs times (default 5);
# the median is reported. Each --peer COMMAND (a command line, for example
# another typing tutor) is measured the same way, for comparison.
#
# Wake-ups: the number of times the process's threads were put on a CPU, the
# sum over /proc/PID/task/*/schedstat of the third field, counted over a
# fixed interval and given per second, with a breakdown by thread name:
#   idle            12 s after start (no input since, so the caret has
#                   stopped blinking), over 10 s
#   running, blink  the timer started with F2 (xdotool), from 1 s to 9 s
#                   after the key, while the caret still blinks
#   running         12 s after the key, over 10 s
# Threads that end inside an interval drop out of its count.
#
# Needs: Xvfb (xvfb), xev (x11-utils), xdotool, and for the sound server
# pulseaudio and pulseaudio-utils (without them the program runs with no
# sound server, which is said in the report).
set -uo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=5
peers=()
no_wakeups=
program=
while [ $# -gt 0 ]; do
    case "$1" in
    --runs)
        runs=$2
        shift 2
        ;;
    --peer)
        peers+=("$2")
        shift 2
        ;;
    --peer=*)
        peers+=("${1#--peer=}")
        shift
        ;;
    --first-window-only)
        no_wakeups=1
        shift
        ;;
    -h | --help)
        sed -n '2,/^set -uo/p' "${BASH_SOURCE[0]}" | sed '$d; s/^# \{0,1\}//'
        exit 0
        ;;
    *)
        program=$1
        shift
        ;;
    esac
done
program=${program:-$top/build-release/bin/vemitrainer}
if [ ! -x "$program" ]; then
    echo "no executable at $program (build it with: tools/build.sh run, or give its path)" >&2
    exit 2
fi
for tool in Xvfb xev xdotool; do
    command -v "$tool" >/dev/null || {
        echo "$tool is not installed" >&2
        exit 2
    }
done

# A sound server as on a desktop: the trainer's sound service talks to one.
if [ -z "${VEMI_MEASURE_SOUND:-}" ]; then
    export VEMI_MEASURE_SOUND=1
    exec bash "$top/tests/platform/with_pulseaudio.sh" bash "${BASH_SOURCE[0]}" --runs "$runs" \
        ${no_wakeups:+--first-window-only} \
        "${peers[@]/#/--peer=}" "$program"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/vemi-measure.XXXXXX")
xvfb_pid=
xev_pid=
cleanup() {
    [ -n "$xev_pid" ] && kill "$xev_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/app" "$work/home/.config" "$work/home/.local/share" "$work/home/.cache"
cp "$program" "$work/app/"
[ -f "$(dirname "$program")/vemisound.so" ] && cp "$(dirname "$program")/vemisound.so" "$work/app/"
for folder in 問題 Sound; do
    [ -d "$(dirname "$program")/$folder" ] && cp -r "$(dirname "$program")/$folder" "$work/app/"
done
trainer="$work/app/$(basename "$program")"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_CACHE_HOME="$work/home/.cache"
unset QT_QPA_PLATFORM SESSION_MANAGER

# A private display: nothing else maps windows on it.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || {
    echo "Xvfb did not start" >&2
    exit 1
}
export DISPLAY=:$(head -n 1 "$work/display")

mkfifo "$work/maps"
xev -root -event substructure >"$work/maps" 2>/dev/null &
xev_pid=$!
exec {maps}<"$work/maps"
sleep 0.5 # xev selects its events before anything is started

# Starts a command line; sets first_ms and first_rss_kib when its first
# top-level window maps, and leaves it running as $pid.
start_and_wait_for_window() {
    local line start
    start=$EPOCHREALTIME
    $1 >"$work/out.log" 2>&1 &
    pid=$!
    while read -r -t 30 line <&"$maps"; do
        case "$line" in
        MapNotify*)
            first_ms=$(awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.1f", (b - a) * 1000 }')
            first_rss_kib=$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status" 2>/dev/null)
            return 0
            ;;
        esac
    done
    echo "no window from: $1" >&2
    return 1
}

stop() {
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    # Drain what the window's end reported.
    while read -r -t 0.3 _ <&"$maps"; do :; done
}

median() {
    sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Starts each program in turn, --runs rounds, so that a machine busy with
# other work slows them all alike.
measure_first_windows() {
    local names=("$@") times=() sizes=() round i
    for ((round = 0; round < runs; round++)); do
        for i in "${!names[@]}"; do
            start_and_wait_for_window "${names[$i]}" || return
            times[$i]+=" $first_ms"
            sizes[$i]+=" ${first_rss_kib:-0}"
            stop
            sleep 0.3
        done
    done
    names[0]="$(basename "$trainer") (measured)"
    for i in "${!names[@]}"; do
        printf '%-28s first window %7.1f ms   VmRSS %6.1f MiB   (median of %d; times:%s)\n' \
            "${names[$i]}" "$(tr ' ' '\n' <<<"${times[$i]}" | grep . | median)" \
            "$(tr ' ' '\n' <<<"${sizes[$i]}" | grep . | median | awk '{ print $1 / 1024 }')" \
            "$runs" "${times[$i]}"
    done
}

# Prints "tid name count" for every thread of $pid.
thread_runs() {
    local task
    for task in /proc/"$pid"/task/*; do
        [ -r "$task/schedstat" ] || continue
        printf '%s %s %s\n' "${task##*/}" "$(tr ' ' '_' <"$task/comm")" "$(awk '{ print $3 }' "$task/schedstat")"
    done
}

wakeups() {
    local label=$1 seconds=$2 before after
    before=$(thread_runs)
    sleep "$seconds"
    after=$(thread_runs)
    awk -v label="$label" -v seconds="$seconds" '
        NR == FNR { was[$1] = $3; next }
        { n = $3 - ($1 in was ? was[$1] : 0); total += n; by[$2] += n }
        END {
            printf "%-28s %6.1f wake-ups/s  (", label, total / seconds
            sep = ""
            for (t in by) if (by[t] > 0) { printf "%s%s %.1f", sep, t, by[t] / seconds; sep = ", " }
            print ")"
        }' <(printf '%s\n' "$before") <(printf '%s\n' "$after")
}

echo "Display $DISPLAY; sound: ${VEMI_NO_PULSEAUDIO:-private PulseAudio server, sink ${VEMI_PULSE_SINK:-?}}"
echo "Program: $program"
measure_first_windows "$trainer" "${peers[@]}"
[ -n "$no_wakeups" ] && exit 0

start_and_wait_for_window "$trainer" || exit 1
# No window manager gives the window the focus, as a desktop would.
window=$(xdotool search --sync --pid "$pid" --onlyvisible --name VemiTapiro | head -n 1)
xdotool windowfocus --sync "$window"
sleep 12
wakeups "idle (after 10 s)" 10
xdotool key F2
sleep 1
wakeups "running, caret blinking" 8
sleep 3
wakeups "running (after 10 s)" 10
stop
