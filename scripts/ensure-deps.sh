#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, when missing.
set -euo pipefail

packages=(g++ cmake ninja-build pkg-config ccache qt6-base-dev qt6-base-dev-tools
          libqt6sql6-sqlite libsqlite3-dev sqlite3 fonts-wqy-zenhei poppler-utils
          valgrind tzdata python3-xlrd python3-xlwt libfreexl-dev libreoffice-calc-nogui)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y \
        --no-install-recommends "${missing[@]}"
fi
