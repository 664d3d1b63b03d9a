#!/usr/bin/env bash
# Checks what a Debian package carries besides the program itself: binaries
# hardened as Debian builds them, the machine-readable copyright file, the
# changelog and the manual pages.
#   debian_files.sh PACKAGE SOURCE
set -euo pipefail

package=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dpkg-deb -x "$package" "$work/root"
usr=$work/root/usr
docs=$usr/share/doc/vemitrainer
fail=0
problem() {
    echo "$*" >&2
    fail=1
}

# Full RELRO with immediate binding and the stack protector; the executable is
# position independent. (Fortification and control-flow protection leave no
# mark to check: Qt code makes no fortifiable libc calls, and Debian 12's C
# start files carry no CET note, so no linked program has one.)
for binary in "$usr/bin/vemitrainer" "$usr"/lib/vemitrainer/*.so; do
    name=${binary#"$work/root"}
    readelf -W -l -d --dyn-syms "$binary" >"$work/elf" 2>/dev/null || {
        problem "$name: not an ELF file readelf can read"
        continue
    }
    grep -q ' GNU_RELRO ' "$work/elf" || problem "$name: no RELRO segment"
    grep -qE '\(FLAGS\) +.*BIND_NOW' "$work/elf" || problem "$name: symbols not bound at start (no -z now)"
    grep -qE ' __stack_chk_fail(@|$)' "$work/elf" || problem "$name: no stack protector"
done
grep -qE 'Type: +DYN ' <(readelf -h "$usr/bin/vemitrainer") || problem "/usr/bin/vemitrainer: not position independent"

maintainer=$(dpkg-deb -f "$package" Maintainer)
version=$(dpkg-deb -f "$package" Version)

# Copyright: Debian's machine-readable format; every licence named by a Files
# paragraph has its text in a paragraph of its own, and the contact is the maintainer.
copyright=$docs/copyright
if [ ! -f "$copyright" ]; then
    problem "no $copyright"
else
    [ "$(head -n 1 "$copyright")" = "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ] ||
        problem "copyright: first line is not the format's Format field"
    grep -qxF "Upstream-Contact: $maintainer" "$copyright" || problem "copyright: contact is not '$maintainer'"
    unmatched=$(awk 'BEGIN { RS = ""; FS = "\n" }
        /^Files:/ { for (i = 1; i <= NF; i++) if ($i ~ /^License:/) used[substr($i, 10)] = 1 }
        !/^(Files|Format):/ && $1 ~ /^License:/ && NF > 1 { given[substr($1, 10)] = 1 }
        END { for (name in used) if (!(name in given)) print name }' "$copyright")
    [ -z "$unmatched" ] || problem "copyright: no text for licence(s) $unmatched"
    grep -qE '^Files: \*$' "$copyright" || problem "copyright: no paragraph for all files"
    grep -q '/usr/share/common-licenses/GPL-3' "$copyright" || problem "copyright: no pointer to the GPL's text"
fi
cmp -s "$source/LICENSE" /usr/share/common-licenses/GPL-3 || problem "LICENSE is not the GPL version 3 text"

# Changelog: compressed without name or time, its newest entry is this version, signed by the maintainer.
changelog=$docs/changelog.Debian.gz
unnamed_gzip() { # the FNAME flag clear and MTIME zero
    [ "$(od -An -tx1 -j3 -N5 "$1" | tr -d ' \n')" = 0000000000 ]
}
if [ ! -f "$changelog" ]; then
    problem "no $changelog"
else
    unnamed_gzip "$changelog" || problem "changelog.Debian.gz keeps a name or time (not gzip -n)"
    zcat "$changelog" >"$work/changelog"
    [ "$(dpkg-parsechangelog -l "$work/changelog" -S Version)" = "$version" ] ||
        problem "changelog's newest entry is not version $version"
    [ "$(dpkg-parsechangelog -l "$work/changelog" -S Maintainer)" = "$maintainer" ] ||
        problem "changelog is not signed by $maintainer"
fi

# Manual pages: Japanese, and English for the C locale; groff renders both
# without warnings (Japanese lines have no spaces to break at, so line-breaking
# warnings are left out there).
for page in man/ja/man1:ja man/man1:en; do
    file=$usr/share/${page%:*}/vemitrainer.1.gz
    if [ ! -f "$file" ]; then
        problem "no ${file#"$work/root"}"
        continue
    fi
    unnamed_gzip "$file" || problem "${file#"$work/root"} keeps a name or time (not gzip -n)"
    options=(-ww)
    heading=NAME
    if [ "${page#*:}" = ja ]; then
        options=(-ww -Wbreak -mja)
        heading=名前
    fi
    zcat "$file" | grep -qxF ".SH $heading" || problem "${file#"$work/root"}: no section $heading"
    warnings=$(zcat "$file" | LC_ALL=C.UTF-8 groff -k -man -Tutf8 -z "${options[@]}" 2>&1) ||
        problem "${file#"$work/root"}: groff failed"
    [ -z "$warnings" ] || problem "${file#"$work/root"}: $warnings"
done

[ "$fail" = 0 ] || exit 1
echo "hardened binaries, copyright, changelog and manual pages as Debian expects"
