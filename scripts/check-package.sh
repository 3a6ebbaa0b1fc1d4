#!/usr/bin/env bash
# Checks the package scripts/package.sh built: lintian finds no error, the
# manual page renders without warnings and names every command and option of
# --help, every library our binaries link comes from the package itself or from
# a package it declares, and talvex-host runs from the unpacked tree.
set -euo pipefail
cd "$(dirname "$0")/.."
deb=$(ls build/talvex_*_amd64.deb)
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
fail() { echo "package check: $*" >&2; exit 1; }

lintian --fail-on error "$deb"

dpkg-deb -x "$deb" "$tree/root"
host="$tree/root/usr/bin/talvex-host"
manual="$tree/root/usr/share/man/man1/talvex-host.1.gz"

warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$manual" 2>&1 >"$tree/manual.txt") \
    || fail "man cannot render the manual page"
[ -z "$warnings" ] || fail "the manual page renders with warnings: $warnings"
usage=$(env -i PATH=/usr/bin:/bin HOME="$tree/home" "$host" --help) || fail "talvex-host --help failed"
for name in $(grep -oE -- '--[a-z-]+|\] [a-z-]+ ' <<<"$usage" | tr -d '] ' | sort -u); do
    grep -qF -- "$name" "$tree/manual.txt" || fail "the manual page does not name $name"
done

# The libraries our binaries need, by name: ours are in the package, the others
# belong to installed packages the package depends on.
depends=$(dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed -E 's/^ *//; s/[ (].*//')
for binary in "$host" "$tree"/root/usr/lib/*/talvex/*.so; do
    for needed in $(readelf -d "$binary" | sed -nE 's/.*\(NEEDED\).*\[(.*)\]/\1/p'); do
        compgen -G "$tree/root/usr/lib/*/talvex/$needed" >/dev/null && continue
        path=$(ldconfig -p | awk -v lib="$needed" '$1 == lib && /x86-64/ && !found {print $NF; found = 1}')
        [ -n "$path" ] || fail "$(basename "$binary") needs $needed, which nothing provides"
        owner=$(dpkg -S "$path" 2>/dev/null || dpkg -S "$(readlink -f "$path")" 2>/dev/null \
                || dpkg -S "/usr$path" 2>/dev/null) || fail "no package owns $path"
        owner=${owner%%:*}
        grep -qxF "$owner" <<<"$depends" \
            || fail "$(basename "$binary") needs $needed from $owner, which Depends does not name"
    done
done

# The unpacked host starts on a first day: it makes its database where the
# README says, loads its plug-in from its own library folder and saves a
# screenshot, without a screen.
env -i PATH=/usr/bin:/bin HOME="$tree/home" QT_QPA_PLATFORM=offscreen TALVEX_PASSWORD=admin \
    "$host" --screenshot "$tree/shot.png" >"$tree/host.txt" 2>&1 \
    || fail "the unpacked talvex-host did not start: $(cat "$tree/host.txt")"
[ -s "$tree/shot.png" ] || fail "the unpacked talvex-host saved no screenshot"
[ -s "$tree/home/.local/share/talvex-host/talvex.db" ] \
    || fail "the unpacked talvex-host made no database in ~/.local/share/talvex-host"
echo "package checks passed: $deb"
