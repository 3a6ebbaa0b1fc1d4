#!/usr/bin/env bash
# Installs the Debian packages a task needs, when missing.
#
#   scripts/ensure-deps.sh run    building and running the register (scripts/run.sh)
#   scripts/ensure-deps.sh package  the same, plus what builds and checks the
#                                   Debian package (scripts/package.sh)
#   scripts/ensure-deps.sh test   all of it, plus the tools the tests check our
#                                 work with (scripts/test.sh)
set -euo pipefail

# Building talvex-host and its plug-in, and running it: the compiler and build
# tools, Qt with its Chinese translations, SQLite, the PostgreSQL client library,
# a font with Chinese glyphs and the time zone data.
run_packages=(g++ cmake ninja-build pkg-config ccache qt6-base-dev qt6-base-dev-tools
              qt6-translations-l10n libsqlite3-dev libpq-dev libsodium-dev fonts-wqy-zenhei tzdata)
# The package: dpkg-shlibdeps, lintian, man to render the manual page.
package_packages=(dpkg-dev file lintian man-db)
# The tests: the sqlite3 and psql shells, the PostgreSQL server for the second
# backend, readers of our .xls files we did not write (xlrd, libfreexl,
# LibreOffice), pdftotext and valgrind.
test_packages=(sqlite3 postgresql-15 python3-xlrd python3-xlwt libfreexl-dev
               libreoffice-calc-nogui poppler-utils valgrind)

case "${1:-}" in
    run) packages=("${run_packages[@]}") ;;
    package) packages=("${run_packages[@]}" "${package_packages[@]}") ;;
    test) packages=("${run_packages[@]}" "${package_packages[@]}" "${test_packages[@]}") ;;
    *) echo "usage: $0 run|package|test" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
    # The tests start a throwaway cluster of their own; installing the server
    # needs no standing one beside it.
    if [[ " ${missing[*]} " == *" postgresql-15 "* ]]; then
        $sudo mkdir -p /etc/postgresql-common/createcluster.d
        echo "create_main_cluster = false" \
            | $sudo tee /etc/postgresql-common/createcluster.d/talvex.conf >/dev/null
    fi
    $sudo apt-get update -qq
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y \
        --no-install-recommends "${missing[@]}"
fi
