#!/usr/bin/env bash
# Renders the application icon's bitmap sizes from its SVG; run by hand
# after changing the SVG (needs rsvg-convert, Debian package librsvg2-bin),
# then commit the PNG files.
set -euo pipefail
cd "$(dirname "$0")/.."
id=org.picaroon.Picaroon
svg=data/icons/hicolor/scalable/apps/$id.svg
for size in 16 22 24 32 48 64 128 256; do
    folder=data/icons/hicolor/${size}x${size}/apps
    mkdir -p "$folder"
    rsvg-convert --width "$size" --height "$size" --output "$folder/$id.png" "$svg"
done
