#!/usr/bin/env bash
# Usage: with_accessibility.sh CMD [ARG...]
#
# Runs CMD with Qt's AT-SPI bridge switched on, as it is while a screen reader
# listens: inside a private X server and D-Bus session of its own, with the
# accessibility bus started in that session. Where a tool is missing, CMD
# still runs without the bridge, and its accessibility cases skip.
set -u

if [ $# -eq 0 ]; then
    echo "usage: $0 CMD [ARG...]" >&2
    exit 2
fi

launcher=/usr/libexec/at-spi-bus-launcher
if [ "${VEMI_ACCESSIBILITY_SESSION-}" != 1 ]; then
    for tool in xvfb-run dbus-run-session "$launcher"; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "$tool is missing (Debian packages xvfb, dbus-daemon, at-spi2-core)" >&2
            exec "$@"
        fi
    done
    VEMI_ACCESSIBILITY_SESSION=1 exec xvfb-run -a dbus-run-session -- bash "$0" "$@"
fi

"$launcher" >/dev/null 2>&1 &
launcher_pid=$!
trap 'kill "$launcher_pid" 2>/dev/null; wait "$launcher_pid" 2>/dev/null' EXIT
# The bridge connects once the accessibility bus has taken its name.
for _ in $(seq 50); do
    dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
        org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q true && break
    sleep 0.1
done
QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$@"
