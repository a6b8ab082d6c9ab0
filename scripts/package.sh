#!/usr/bin/env bash
# Builds the Debian package into build/packages/, lists what it holds and
# checks that every file an install puts in place is there, then runs its
# desktop entry and metainfo through their validators.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh dpkg-dev file desktop-file-utils appstream
bash scripts/build.sh
rm -f build/packages/picaroon_*.deb
(cd build && cpack -G DEB)
debs=(build/packages/picaroon_*.deb)
deb=${debs[0]}

echo "== $deb"
dpkg-deb --field "$deb" Package Version Architecture Depends Recommends
dpkg-deb --contents "$deb" | tee build/packages/contents.txt

id=org.picaroon.Picaroon
wanted=(
    ./usr/bin/picaroon
    ./usr/bin/picaroon-standin
    ./usr/libexec/picaroon/picaroon-window
    "./usr/share/applications/$id.desktop"
    "./usr/share/metainfo/$id.metainfo.xml"
    ./usr/share/man/man1/picaroon.1.gz
    ./usr/share/man/ru/man1/picaroon.1.gz
    ./usr/share/bash-completion/completions/picaroon
    "./usr/share/icons/hicolor/scalable/apps/$id.svg"
)
for size in 16 22 24 32 48 64 128 256; do
    wanted+=("./usr/share/icons/hicolor/${size}x${size}/apps/$id.png")
done
missing=0
for file in "${wanted[@]}"; do
    if ! awk '{print $6}' build/packages/contents.txt | grep -qxF "$file"; then
        echo "missing from the package: $file" >&2
        missing=1
    fi
done
depends=$(dpkg-deb --field "$deb" Depends)
for package in libqt6widgets6 libqt6network6 qt6-qpa-plugins qt6-translations-l10n libexiv2-27 libturbojpeg0; do
    if ! grep -q "\b$package\b" <<<"$depends"; then
        echo "the package does not depend on $package" >&2
        missing=1
    fi
done
[ "$missing" = 0 ]

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb --extract "$deb" "$unpacked"
desktop-file-validate "$unpacked/usr/share/applications/$id.desktop"
appstreamcli validate --no-net "$unpacked/usr/share/metainfo/$id.metainfo.xml"
echo "Package checked: $deb"
