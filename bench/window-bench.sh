#!/usr/bin/env bash
# Cost per picture of an upload run from the window, with 100 and with
# 10,000 pictures in the image folder (offscreen, against the stand-in).
# Run by hand after scripts/build.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=$PWD/build/bin
work=$(mktemp -d "$( [ -d /dev/shm ] && echo /dev/shm || echo /tmp )/picaroon-wbench.XXXXXX")
trap 'kill "$standin" 2>/dev/null || true; rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen PICAROON_PASSWORD=bench-password XDG_RUNTIME_DIR=$work

"$bin/picaroon-standin" --port 0 --login bench --password "$PICAROON_PASSWORD" \
    --store "$work/store" >"$work/standin.out" 2>/dev/null &
standin=$!
for _ in $(seq 100); do grep -q listening "$work/standin.out" 2>/dev/null && break; sleep 0.1; done
port=$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$work/standin.out")

run() { # count -> best ms per picture of three runs
    local best=""
    for _ in 1 2 3; do
        rm -rf "$work/home" && mkdir -p "$work/home/img"
        head -c $(($1 * 10240)) /dev/urandom | split -b 10240 -d -a 6 --additional-suffix=.jpg - "$work/home/img/p"
        local line
        line=$("$bin/picaroon-window-bench" "$work/home" 127.0.0.1 "$port" bench)
        find "$work/store" -name '*.jpg' -delete
        best=$(echo "$line" | awk -v b="$best" '{ v = $(NF - 3); if (b == "" || v < b) b = v; printf "%.4f", b }')
    done
    echo "$best"
}
hundred=$(run 100)
tenk=$(run 10000)
awk -v a="$hundred" -v b="$tenk" 'BEGIN { printf "window, 100 pictures: %.3f ms each | 10,000 pictures: %.3f ms each | ratio %.2f\n", a, b, b / a }'
