#!/usr/bin/env bash
# Starts the real trainer on a virtual X display with no settings file, types
# into it, ends it and checks the settings file it wrote. How it ends:
#   menu     the File menu's exit command, as the learner quits, answering
#            No to the question about the unsaved typed text
#   sigterm  SIGTERM, as a desktop session that ends stops its programs
set -euo pipefail

# Inside the virtual display: run the trainer in the given folder and drive it.
drive() {
    local how=$1
    cd "$2"
    ./vemitrainer &
    local pid=$!
    local window
    window=$(timeout 30 xdotool search --sync --name '^VemiTapiro--\[Untitled\]$' | head -n 1)
    xdotool windowfocus --sync "$window"
    xdotool type --delay 20 'Hello, typing test 123'
    if [ "$how" = menu ]; then
        xdotool key --delay 200 alt+f x
        # The typed text is unsaved, so the close question must hold the window open: answer No.
        sleep 0.5
        if ! kill -0 "$pid" 2>/dev/null; then
            echo "the trainer closed without asking about the typed text" >&2
            exit 1
        fi
        xdotool key n
    else
        kill -TERM "$pid"
    fi
    # The trainer must end by itself after the command.
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill "$pid"
        echo "the trainer did not end after the $how command" >&2
        exit 1
    fi
    wait "$pid"
}

if [ "${1:-}" = --drive ]; then
    drive "$2" "$3"
    exit
fi

how=$1
program=$2
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp "$program" "$folder/vemitrainer"
unset QT_QPA_PLATFORM
timeout 120 xvfb-run -a -s '-screen 0 1280x1024x24' bash "${BASH_SOURCE[0]}" --drive "$how" "$folder"

crlf=$'\r\n'
expected="[General]${crlf}DoubleView=1${crlf}ShowReturnMark=0${crlf}ShowSpaceMark=0${crlf}"
expected+="AlarmSoundFile=${folder}//Sound/Timeup.wav${crlf}"
expected+="PreAlarmSoundFile=${folder}//Sound/Hurryup.wav${crlf}${crlf}"
expected+="[Font]${crlf}FontName=MS "$'\x83\x53\x83\x56\x83\x62\x83\x4e'"${crlf}FontSize=12${crlf}${crlf}"
expected+="[Timer]${crlf}AlarmTime=10${crlf}PreAlarmTime=8${crlf}Alarm=1${crlf}PreAlarm=1${crlf}${crlf}"
expected+="[Score]${crlf}ScoreCount=0${crlf}${crlf}"
expected+="[Color]${crlf}LCDForeColor=clBlack${crlf}LCDBackColor=clWhite${crlf}"

if ! cmp <(printf '%s' "$expected") "$folder/vemitrainer.ini"; then
    echo "settings file differs; expected:" >&2
    printf '%s' "$expected" | od -c >&2
    echo "written:" >&2
    od -c "$folder/vemitrainer.ini" >&2
    exit 1
fi
echo "settings file written as expected"
