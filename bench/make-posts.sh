#!/usr/bin/env bash
# Time and peak memory of `picaroon make-posts` on a url.txt of URL_MB
# megabytes (default 100) of the shortest lines, the most records per byte.
# Run by hand after building into build/; the peak should stay near that of
# an empty url.txt, whatever the file's size.
set -euo pipefail
cd "$(dirname "$0")/.."

program=${PICAROON:-build/bin/picaroon}
megabytes=${URL_MB:-100}

[[ -x $program ]] || { echo "build first: $program is missing" >&2; exit 1; }
[[ -x /usr/bin/time ]] || { echo "the peak memory needs /usr/bin/time (Debian package time)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

lines=$((megabytes * 1000000 / 3))
mkdir "$work/empty" "$work/full"
: >"$work/empty/url.txt"
yes $'a\r' | head -n "$lines" >"$work/full/url.txt" || true
echo "url.txt: $(stat -c %s "$work/full/url.txt") bytes, $lines lines"

for home in empty full; do
    start=$(date +%s%N)
    result=$(/usr/bin/time -f '%M' -o "$work/peak" "$program" make-posts --home "$work/$home")
    end=$(date +%s%N)
    echo "$home url.txt: $result; $(((end - start) / 1000000)) ms, peak RSS $(cat "$work/peak") KB," \
        "base_url.txt $(stat -c %s "$work/$home/base_url.txt") bytes"
    rm -f "$work/$home/base_url.txt"
done
