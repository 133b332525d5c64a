#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only when one is missing.
set -euo pipefail
packages=(cmake g++ make pkg-config qt6-base-dev libqt6sql6-sqlite libqt6sql6-psql libxml2-dev libqpdf-dev libsqlite3-dev
          libcurl4-openssl-dev googletest libgtest-dev sqlite3 clang-format clang libfuzzer-14-dev
          postgresql python3-aiosmtpd openssl poppler-utils qt6-translations-l10n
          libqrencode-dev zbar-tools libgmp-dev)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    apt-get update
    DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
fi
