#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, when missing.
set -euo pipefail

packages=(g++ cmake ninja-build pkg-config ccache qt6-base-dev qt6-base-dev-tools
          qt6-translations-l10n libqt6sql6-sqlite libsqlite3-dev sqlite3 fonts-wqy-zenhei
          poppler-utils valgrind tzdata libpq-dev libsodium-dev postgresql-15 python3-xlrd python3-xlwt
          libfreexl-dev libreoffice-calc-nogui)
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
