#!/usr/bin/env bash
# Tries the README's commands as a new user would, on freshly made Debian 12
# systems (debootstrap roots entered with chroot), and prints what happened.
#
#   sudo tools/clean-machine-check.sh [WORK_FOLDER]
#
# 1. Makes a minimal Debian 12 root (debootstrap --variant=minbase), copies
#    this working tree into /root/vemitrainer there and runs the README's test
#    command, `bash tools/build.sh test`, with no locale set; prints CTest's
#    summary. Then builds the package there with `bash tools/build.sh package`.
# 2. Installs that package into a second, untouched copy of the minimal root
#    with `apt-get install ./vemitrainer_*.deb` (recommends included) and
#    prints the disk space the install took; then starts the program as an
#    ordinary user on a virtual X display (Xvfb) and waits for its window.
#
# Needs root, debootstrap and the network to reach the Debian mirror that this
# machine's apt uses (read from /etc/apt/sources.list*; MIRROR=URL overrides).
# Takes 20 minutes or more (an hour on a busy two-core machine) and a few GB
# in WORK_FOLDER (default: a new folder under /var/tmp, removed at the end
# unless KEEP=1). Exits non-zero when any step fails.
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
suite=bookworm

if [ "$(id -u)" -ne 0 ]; then
    echo "run as root: debootstrap and chroot need it" >&2
    exit 2
fi
if ! command -v debootstrap >/dev/null; then
    echo "== installing debootstrap"
    apt-get install -y -qq debootstrap >/dev/null
fi

# The first Debian mirror this machine's apt reads the suite from, in either
# source format (one-line .list or deb822 .sources).
find_mirror() {
    local suite_name=$1
    cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
        awk -v s="$suite_name" '$1 == "deb" { i = 2; if ($2 ~ /^\[/) while ($i !~ /\]$/) i++;
            if ($2 ~ /^\[/) i++; if ($(i + 1) == s) { print $i; exit } }'
    for file in /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] || continue
        awk -v s="$suite_name" 'BEGIN { RS = ""; FS = "\n" } {
            uri = ""; found = 0
            for (i = 1; i <= NF; i++) {
                if ($i ~ /^URIs:/) { split($i, u, /[ \t]+/); uri = u[2] }
                if ($i ~ /^Suites:/) { n = split($i, w, /[ \t]+/); for (j = 2; j <= n; j++) if (w[j] == s) found = 1 }
            }
            if (found && uri != "") print uri }' "$file"
    done
}
mirror=${MIRROR:-$(find_mirror "$suite" | head -n 1)}
security=$(find_mirror "$suite-security" | head -n 1)
if [ -z "$mirror" ]; then
    echo "no Debian mirror for $suite in /etc/apt/sources.list*; set MIRROR=URL" >&2
    exit 2
fi

work=${1:-$(mktemp -d /var/tmp/vemitrainer-check.XXXXXX)}
mkdir -p "$work"
work=$(cd "$work" && pwd)
build_root=$work/build-root
install_root=$work/install-root
mounted=()

unmount_all() {
    local i
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}" 2>/dev/null ||
            echo "could not unmount ${mounted[i]}" >&2
    done
    mounted=()
}
finish() {
    local status=$?
    unmount_all
    if [ "${KEEP:-0}" = 1 ]; then
        echo "== kept $work"
    elif ! grep -qs " $work/" /proc/mounts; then
        rm -rf "$work"
    else
        echo "== $work still has mounts inside; not removed" >&2
    fi
    exit "$status"
}
trap finish EXIT
trap 'exit 130' INT TERM

mount_into() {
    local root=$1
    mount -t proc proc "$root/proc" && mounted+=("$root/proc")
    mount -t sysfs sysfs "$root/sys" && mounted+=("$root/sys")
    mount --bind /dev "$root/dev" && mounted+=("$root/dev")
    # Private, so what is mounted below it is not mounted over this machine's /dev too.
    mount --make-private "$root/dev"
    mount -t devpts -o newinstance,ptmxmode=0666 devpts "$root/dev/pts" && mounted+=("$root/dev/pts")
    mount -t tmpfs -o mode=1777 tmpfs "$root/dev/shm" && mounted+=("$root/dev/shm")
}

# A command inside a root, with the environment a fresh login as root has before
# any locale is chosen.
in_root() {
    local root=$1
    shift
    chroot "$root" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        HOME=/root TERM=dumb "$@"
}

started=$(date +%s)
elapsed() { echo "$(($(date +%s) - started)) s"; }

echo "== debootstrap --variant=minbase $suite from $mirror into $work"
debootstrap --variant=minbase "$suite" "$build_root" "$mirror" >"$work/debootstrap.log" 2>&1 || {
    tail -n 30 "$work/debootstrap.log" >&2
    exit 1
}
{
    echo "deb $mirror $suite main"
    echo "deb $mirror $suite-updates main"
    [ -z "$security" ] || echo "deb $security $suite-security main"
} >"$build_root/etc/apt/sources.list"
cp /etc/resolv.conf "$build_root/etc/resolv.conf" 2>/dev/null || true
cp -a "$build_root" "$install_root"
echo "   made both roots after $(elapsed)"

echo "== copying the working tree into the first root"
mkdir -p "$build_root/root/vemitrainer"
if git -C "$top" rev-parse --git-dir >/dev/null 2>&1; then
    (cd "$top" && git ls-files -z --cached --others --exclude-standard |
        tar --null --files-from=- -cf -) | tar -C "$build_root/root/vemitrainer" -xf -
else
    tar -C "$top" --exclude='./build*' -cf - . | tar -C "$build_root/root/vemitrainer" -xf -
fi

mount_into "$build_root"
echo "== bash tools/build.sh test (log: test.log)"
status=0
in_root "$build_root" bash -c 'cd /root/vemitrainer && bash tools/build.sh test' >"$work/test.log" 2>&1 ||
    status=$?
echo "   exit status $status after $(elapsed); CTest summary:"
summary=$(sed -n '/tests passed, /,$p' "$work/test.log")
if [ -n "$summary" ]; then
    printf '%s\n' "$summary" | sed 's/^/   /'
else
    tail -n 40 "$work/test.log" | sed 's/^/   /'
fi
test_status=$status

echo "== bash tools/build.sh package (log: package.log)"
status=0
in_root "$build_root" bash -c 'cd /root/vemitrainer && bash tools/build.sh package' >"$work/package.log" 2>&1 ||
    status=$?
unmount_all
package=$(find "$build_root/root/vemitrainer/build-package" -maxdepth 1 -name 'vemitrainer_*.deb' | head -n 1)
if [ "$status" != 0 ] || [ -z "$package" ]; then
    echo "   failed (exit status $status):"
    tail -n 40 "$work/package.log" | sed 's/^/   /'
    exit 1
fi
echo "   made $(basename "$package") after $(elapsed)"

echo "== apt-get install ./$(basename "$package") in the second root"
cp "$package" "$install_root/root/"
mount_into "$install_root"
in_root "$install_root" apt-get update -qq >"$work/install.log" 2>&1
size_before=$(du -sxk "$install_root" | cut -f 1)
status=0
in_root "$install_root" env DEBIAN_FRONTEND=noninteractive apt-get install -y "/root/$(basename "$package")" \
    >>"$work/install.log" 2>&1 || status=$?
if [ "$status" != 0 ]; then
    tail -n 40 "$work/install.log" | sed 's/^/   /'
    exit 1
fi
grep -E '^(After this operation|[0-9]+ upgraded, [0-9]+ newly installed)' "$work/install.log" | sed 's/^/   apt: /'
in_root "$install_root" apt-get clean
size_after=$(du -sxk "$install_root" | cut -f 1)
echo "   installed size with recommends: $(((size_after - size_before) / 1024)) MB" \
    "(growth of the root, downloaded archives removed)"

echo "== starting vemitrainer as an ordinary user under Xvfb"
in_root "$install_root" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    xvfb xauth xdotool >>"$work/install.log" 2>&1
in_root "$install_root" useradd --create-home --shell /bin/bash learner
status=0
in_root "$install_root" runuser -u learner -- env HOME=/home/learner timeout 120 \
    xvfb-run -a -s '-screen 0 1280x1024x24' bash -c '
        vemitrainer &
        pid=$!
        if timeout 60 xdotool search --sync --name "^VemiTapiro--\\[Untitled\\]$" >/dev/null; then
            echo "   window shown: $(xdotool search --name "^VemiTapiro" getwindowname)"
        else
            echo "   no window within 60 s"
            kill "$pid"
            exit 1
        fi
        kill -TERM "$pid"
        wait "$pid"' >"$work/start.log" 2>&1 || status=$?
cat "$work/start.log"
ini=$install_root/home/learner/.config/vemitrainer/vemitrainer.ini
if [ "$status" != 0 ] || [ ! -f "$ini" ]; then
    echo "   the installed program did not start and end cleanly (exit status $status)"
    exit 1
fi
echo "   settings written to ~learner/.config/vemitrainer/vemitrainer.ini"
echo "== done after $(elapsed)"
[ "$test_status" = 0 ] || {
    echo "the test command failed" >&2
    exit 1
}
