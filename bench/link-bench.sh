#!/usr/bin/env bash
# Uploads through an emulated internet link (bench/link-emulator.py: a
# one-way delay, a shared bottleneck, slow start): picaroon against one
# sequential curl process and picaroon with eight connections against curl
# with eight transfers in parallel, posting the same form. Run by hand after
# scripts/build.sh; prints figures, asserts nothing.
#   bash bench/link-bench.sh [PICTURES_OF_30KB] [PICTURES_OF_500KB]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh curl >/dev/null
bin=$PWD/build/bin
source bench/curl-form.sh
small=${1:-100}
large=${2:-20}

work=$(mktemp -d "$( [ -d /dev/shm ] && echo /dev/shm || echo /tmp )/picaroon-link.XXXXXX")
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT
login=bench
password=bench-password
digest=$(printf '%s' "$password" | md5sum | cut -d' ' -f1)
"$bin/picaroon-standin" --port 0 --login "$login" --password "$password" \
    --store "$work/store" >"$work/standin.out" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do grep -q listening "$work/standin.out" 2>/dev/null && break; sleep 0.1; done
service=$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$work/standin.out")

seconds() { local TIMEFORMAT='%3R'; { time "$@" >/dev/null 2>&3; } 3>&2 2>&1; }
rate() { awk -v n="$1" -v s="$2" 'BEGIN { printf "%.2f", n / s }'; }

make_pictures() { # folder count bytes
    mkdir -p "$1"
    head -c $(($2 * $3)) /dev/urandom | split -b "$3" -d -a 5 --additional-suffix=.jpg - "$1/p"
}

# A figure counts only if every picture went.
left_behind() {
    if [ -n "$(ls -A "$1")" ]; then echo "pictures left in $1:" "$(ls "$1" | head)" >&2; exit 1; fi
}

curl_config() { # folder port -> config path
    local config=$work/curl-$(basename "$1").cfg
    curl_form_config "$config" "http://127.0.0.1:$2/kiplog.php" "$login" "$digest" "$1"
    echo "$config"
}

bench_link() { # delay-ms rate-mbit
    python3 -u bench/link-emulator.py --target "$service" --delay-ms "$1" --rate-mbit "$2" >"$work/link.out" &
    local link=$!
    pids+=("$link")
    for _ in $(seq 50); do [ -s "$work/link.out" ] && break; sleep 0.1; done
    local port
    port=$(head -1 "$work/link.out")
    echo "== $((2 * $1)) ms round trip, $2 Mbit/s"
    for set in "30KB $small 30720" "500KB $large 512000"; do
        read -r label count bytes <<<"$set"
        local src=$work/src-$label
        [ -d "$src" ] || make_pictures "$src" "$count" "$bytes"
        rm -rf "$work/home" && mkdir -p "$work/home/img" && cp "$src"/*.jpg "$work/home/img/"
        local ours ours8 one eight config
        ours=$(PICAROON_PASSWORD=$password seconds "$bin/picaroon" upload --login "$login" --home "$work/home" \
            --host "127.0.0.1:$port")
        left_behind "$work/home/img"
        cp "$src"/*.jpg "$work/home/img/"
        ours8=$(PICAROON_PASSWORD=$password seconds "$bin/picaroon" upload --login "$login" --home "$work/home" \
            --host "127.0.0.1:$port" --connections 8)
        left_behind "$work/home/img"
        config=$(curl_config "$src" "$port")
        one=$(seconds curl -s -K "$config")
        eight=$(seconds curl -s --no-progress-meter --parallel --parallel-max 8 -K "$config")
        echo "$label x $count | picaroon $(rate "$count" "$ours")/s | one curl $(rate "$count" "$one")/s" \
            "| picaroon --connections 8 $(rate "$count" "$ours8")/s | curl --parallel-max 8 $(rate "$count" "$eight")/s"
        find "$work/store" -name '*.jpg' -delete
    done
    kill "$link"
}

bench_link 25 20
bench_link 50 5
