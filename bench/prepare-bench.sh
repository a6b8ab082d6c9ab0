#!/usr/bin/env bash
# What preparing pictures costs: six 24-megapixel photos shrunk to 1600
# pixels and sent to the stand-in, against vipsthumbnail and ImageMagick
# shrinking the same six; and the location taken out of 5 MB photos, against
# the same upload keeping it. Run by hand after scripts/build.sh; prints
# figures, asserts nothing.
#   bash bench/prepare-bench.sh [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh libvips-tools imagemagick exiv2 >/dev/null
bin=$PWD/build/bin
rounds=${1:-5}

work=$(mktemp -d "$( [ -d /dev/shm ] && echo /dev/shm || echo /tmp )/picaroon-prepare.XXXXXX")
trap 'kill "$standin" 2>/dev/null || true; rm -rf "$work"' EXIT
login=bench
password=bench-password
"$bin/picaroon-standin" --port 0 --login "$login" --password "$password" \
    --store "$work/store" >"$work/standin.out" 2>/dev/null &
standin=$!
for _ in $(seq 100); do grep -q listening "$work/standin.out" 2>/dev/null && break; sleep 0.1; done
port=$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$work/standin.out")

seconds() { # command... -> wall seconds
    local TIMEFORMAT='%3R'
    { time "$@" >/dev/null 2>&3; } 3>&2 2>&1
}
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# Photo-like pictures: smooth shapes with a camera's grain, a location and
# the orientation a phone held upright writes.
photos=$work/photos
mkdir -p "$photos"
convert -size 1500x1000 -seed 7 plasma:fractal -resize 6000x4000! -attenuate 0.4 +noise Gaussian \
    -quality 92 "$photos/photo1.jpg"
exiv2 -q -M"set Exif.Image.Make Bench" -M"set Exif.Image.Orientation 6" \
    -M"set Exif.GPSInfo.GPSLatitudeRef N" -M"set Exif.GPSInfo.GPSLatitude 55/1 45/1 2100/100" \
    -M"set Exif.GPSInfo.GPSLongitudeRef E" -M"set Exif.GPSInfo.GPSLongitude 37/1 37/1 1800/100" \
    "$photos/photo1.jpg"
for i in 2 3 4 5 6; do cp "$photos/photo1.jpg" "$photos/photo$i.jpg"; done
echo "six photos of 6000x4000, $(du -h "$photos/photo1.jpg" | cut -f1) each"

upload() { # home extra-options...
    local home=$1
    shift
    PICAROON_PASSWORD=$password "$bin/picaroon" upload --login "$login" --home "$home" \
        --host "127.0.0.1:$port" "$@"
}
fresh_home() { rm -rf "$work/home" && mkdir -p "$work/home/img" && cp "$1"/*.jpg "$work/home/img/"; }

ours=() vips=() magick=()
for _ in $(seq "$rounds"); do
    fresh_home "$photos"
    ours+=("$(seconds upload "$work/home" --max-side 1600)")
    find "$work/store" -name '*.jpg' -delete
    rm -rf "$work/out" && mkdir -p "$work/out"
    vips+=("$(seconds vipsthumbnail --size 1600 -o "$work/out/%s.jpg[Q=90]" "$photos"/*.jpg)")
    rm -rf "$work/out" && mkdir -p "$work/out"
    magick+=("$(seconds bash -c "for f in '$photos'/*.jpg; do convert \"\$f\" -auto-orient -resize 1600x1600 -quality 90 '$work/out/'\$(basename \"\$f\"); done")")
done
o=$(printf '%s\n' "${ours[@]}" | median)
v=$(printf '%s\n' "${vips[@]}" | median)
m=$(printf '%s\n' "${magick[@]}" | median)
echo "shrink six to 1600 px, median of $rounds | picaroon (shrunk and sent) ${o} s | vipsthumbnail ${v} s | convert ${m} s"
echo "      picaroon/vipsthumbnail $(ratio "$o" "$v") | picaroon/convert $(ratio "$o" "$m")"
echo "      picaroon rounds: ${ours[*]} | vipsthumbnail: ${vips[*]} | convert: ${magick[*]}"

# The location out of 5 MB photos: the upload as a whole, with and without.
large=$work/large
mkdir -p "$large"
convert -size 1000x700 -seed 3 plasma:fractal -resize 2900x2000! -attenuate 0.5 +noise Gaussian -quality 95 \
    "$large/l01.jpg"
exiv2 -q -M"set Exif.GPSInfo.GPSLatitudeRef N" -M"set Exif.GPSInfo.GPSLatitude 55/1 45/1 2100/100" "$large/l01.jpg"
for i in $(seq -w 2 40); do cp "$large/l01.jpg" "$large/l$i.jpg"; done
echo "40 photos of $(du -h "$large/l01.jpg" | cut -f1) with a location"
without=() with=()
for _ in $(seq "$rounds"); do
    fresh_home "$large"
    without+=("$(seconds upload "$work/home")")
    find "$work/store" -name '*.jpg' -delete
    fresh_home "$large"
    with+=("$(seconds upload "$work/home" --keep-location)")
    find "$work/store" -name '*.jpg' -delete
done
a=$(printf '%s\n' "${without[@]}" | median)
b=$(printf '%s\n' "${with[@]}" | median)
echo "location out of 40 photos, median of $rounds | removed ${a} s | kept ${b} s | cost $(awk -v a="$a" -v b="$b" 'BEGIN { printf "%+.1f%%", 100 * (a - b) / b }')"
echo "      removed rounds: ${without[*]} | kept: ${with[*]}"
