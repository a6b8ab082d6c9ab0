#!/usr/bin/env bash
# Throughput of `picaroon extract-links` on a large photo-library page:
# about 10 MB of markup listing 20,000 of the account's pictures, with other
# members' pictures and filler between them. Run by hand after building into
# build/; the target is at least 200 MB/s.
# Then a hostile page of HOSTILE_BYTES (default about 375 KB): address
# markers one after another that share a single ".jpg' " at the very end.
# Only the last marker has an address, so url.txt gets one line, and the
# peak memory (with /usr/bin/time) stays near that of a small page.
set -euo pipefail
cd "$(dirname "$0")/.."

program=${PICAROON:-build/bin/picaroon}
pictures=20000
target_bytes=10000000
runs=${RUNS:-5}
host=img.bench.test

[[ -x $program ]] || { echo "build first: $program is missing" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
page=$work/page.html

LC_ALL=C awk -v n="$pictures" -v total="$target_bytes" -v host="$host" 'BEGIN {
    own = "http://" host "/userdir/4/1/8/2/418265/"
    other = "http://" host "/userdir/1/7/3/5/173590/"
    out = "<html>\r\n<head><meta http-equiv=\"Content-Type\" content=\"text/html\"><title>Фотоальбом</title></head>\r\n<body><table class=\"photolib\">\r\n"
    printf "%s", out; written = length(out)
    for (i = 1; i <= n; i++) {
        name = sprintf("p%06d.jpg", i)
        dir = own
        entry = "<tr><td><a href=\x27" dir name "\x27 target=\x27_blank\x27><img src=\x27" dir "thumb/" name "\x27 border=\x270\x27 alt=\x27\x27></a><br>\r\n" \
                "<a class=\"other\"></a><span><a href=\x27" dir name "\x27 target=\x27_blank\x27>" name "</a></span></td>\r\n"
        if (i % 10 == 0)
            entry = entry "<td><a href=\x27" other name "\x27><img src=\x27" other "thumb/" name "\x27></a><br>\r\n" \
                    "<a class=\"other\"></a><span><a href=\x27" other name "\x27 target=\x27_blank\x27>" name "</a></span></td>\r\n"
        entry = entry "<td class=\"descr\">Фото " i ", загружено <a href=\x27/kiplog.php?module=photolib\x27>в альбом</a></td></tr>\r\n"
        pad = int(total * i / n) - written - length(entry) - 9
        if (pad > 0) {
            filler = ""
            while (length(filler) < pad) filler = filler "lorem ipsum dolor sit amet "
            entry = entry "<!-- " substr(filler, 1, pad) " -->"
        }
        printf "%s", entry; written += length(entry)
    }
    printf "</table></body></html>\r\n"
}' >"$page"

bytes=$(stat -c %s "$page")
echo "page: $bytes bytes, $pictures pictures of the account"

best=
for ((run = 1; run <= runs; run++)); do
    rm -f "$work/url.txt"
    start=$(date +%s%N)
    result=$("$program" extract-links --home "$work" --image-host "$host" <"$page")
    end=$(date +%s%N)
    [[ $result == "$pictures addresses appended to"* ]] || { echo "unexpected output: $result" >&2; exit 1; }
    ns=$((end - start))
    rate=$(awk -v b="$bytes" -v ns="$ns" 'BEGIN { printf "%.0f", b / 1e6 / (ns / 1e9) }')
    echo "run $run: $((ns / 1000000)) ms, $rate MB/s"
    if [[ -z $best || $rate -gt $best ]]; then best=$rate; fi
done
lines=$(wc -l <"$work/url.txt")
echo "url.txt: $lines lines"
echo "best: $best MB/s (target: 200 MB/s)"

hostile=$work/hostile.html
LC_ALL=C awk -v total="${HOSTILE_BYTES:-375000}" -v host="$host" 'BEGIN {
    marker = "<a class=\"other\"></a><span><a href=\x27http://" host "/userdir/4/1/8/2/418265/"
    for (written = 0; written + length(marker) <= total; written += length(marker)) printf "%s", marker
    printf "last.jpg\x27 \r\n"
}' >"$hostile"
markers=$(grep -o 'class="other"' "$hostile" | wc -l)
rm -f "$work/url.txt"
measure=()
[[ -x /usr/bin/time ]] && measure=(/usr/bin/time -f '%M' -o "$work/peak")
start=$(date +%s%N)
result=$("${measure[@]}" "$program" extract-links --home "$work" --image-host "$host" <"$hostile")
end=$(date +%s%N)
[[ $result == "1 address appended to"* ]] || { echo "unexpected output: $result" >&2; exit 1; }
peak="not measured (no /usr/bin/time)"
[[ -s $work/peak ]] && peak="$(cat "$work/peak") KB"
echo "hostile page: $(stat -c %s "$hostile") bytes, $markers markers sharing one end:" \
    "url.txt $(stat -c %s "$work/url.txt") bytes, $(((end - start) / 1000000)) ms, peak RSS $peak"
