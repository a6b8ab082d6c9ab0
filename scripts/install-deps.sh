#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, and only what is
# missing, so a second run costs nothing.
set -euo pipefail

packages=(cmake g++ make pkg-config qt6-base-dev qt6-l10n-tools qt6-translations-l10n libexiv2-dev libturbojpeg0-dev python3 python3-werkzeug dbus-daemon "$@")
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update
    apt-get install -y --no-install-recommends "${missing[@]}"
fi
