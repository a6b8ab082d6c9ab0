#!/usr/bin/env bash
# Upload throughput, memory and per-picture cost of `picaroon upload`, on
# loopback against the project's stand-in, beside curl doing the same posts.
# Run by hand after scripts/build.sh; prints figures, asserts nothing.
#   bash bench/upload-bench.sh [small_count] [large_count]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh curl time >/dev/null
bin=$PWD/build/bin
source bench/curl-form.sh
small_count=${1:-1000}
large_count=${2:-60}

# In memory where the machine allows: the disk's write-back would otherwise
# decide the figures, not the programs being compared.
work=$(mktemp -d "$( [ -d /dev/shm ] && echo /dev/shm || echo /tmp )/picaroon-bench.XXXXXX")
trap 'kill "$standin" 2>/dev/null || true; rm -rf "$work"' EXIT
login=bench
password=bench-password
digest=$(printf '%s' "$password" | md5sum | cut -d' ' -f1)
marker=$'\xC8\xE7\xEE\xE1\xF0\xE0\xE6\xE5\xED\xE8\xE5 \xE4\xEE\xE1\xE0\xE2\xEB\xE5\xED\xEE'

"$bin/picaroon-standin" --port 0 --login "$login" --password "$password" \
    --store "$work/store" >"$work/standin.out" 2>/dev/null &
standin=$!
for _ in $(seq 100); do grep -q listening "$work/standin.out" 2>/dev/null && break; sleep 0.1; done
port=$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$work/standin.out")
url="http://127.0.0.1:$port/kiplog.php"

now() { date +%s.%N; }
# Wall, user and system seconds of one command and everything it started,
# from the shell's own rusage, to the millisecond.
timed() { # command... -> "wall user system"
    local TIMEFORMAT='%3R %3U %3S'
    { time "$@" >/dev/null 2>&3; } 3>&2 2>&1
}
# CPU seconds the stand-in has used so far: set against a run's length, it
# shows whether the stand-in, not the client, set the pace.
standin_cpu() { awk -v hz="$(getconf CLK_TCK)" '{ printf "%.2f", ($14 + $15) / hz }' "/proc/$standin/stat"; }
add() { awk -v a="$1" -v b="$2" -v c="${3:-0}" 'BEGIN { printf "%.6f", a + (b - c) }'; }
rate() { awk -v n="$1" -v a="$2" -v b="$3" 'BEGIN { printf "%.1f", n / (b - a) }'; }

# Random bytes, so that no layer can compress or cache its way ahead.
make_pictures() { # folder count bytes
    mkdir -p "$1"
    head -c $(($2 * $3)) /dev/urandom | split -b "$3" -d -a 6 --additional-suffix=.jpg - "$1/p"
}

run_picaroon() { # home -> "wall user system"
    local figures
    figures=$(PICAROON_PASSWORD=$password timed "$bin/picaroon" upload --login "$login" --home "$1" \
        --host "127.0.0.1:$port")
    [ -z "$(ls "$1/img")" ] || { echo "pictures left behind in $1/img" >&2; exit 1; }
    echo "$figures"
}

clear_store() { find "$work/store" -name '*.jpg' -delete; }

per_second() { awk -v n="$1" -v s="$2" 'BEGIN { printf "%.1f", n / s }'; } # count wall user system
cpu_ms() { awk -v n="$1" -v u="$3" -v s="$4" 'BEGIN { printf "%.4f", 1000 * (u + s) / n }'; } # count wall user system
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

bench_size() { # label bytes count rounds
    local label=$1 bytes=$2 count=$3 rounds=$4 src=$work/src-$1
    make_pictures "$src" "$count" "$bytes"

    local config=$work/curl-$label.cfg
    curl_form_config "$config" "$url" "$login" "$digest" "$src"

    # Rounds taken in turn, so that whatever else the machine does falls on
    # both alike; the medians are compared.
    local ours=() one=() ours_ms=() one_ms=() start end figures cpu
    local ours_cpu=0 ours_wall=0 one_cpu=0 one_wall=0
    for _ in $(seq "$rounds"); do
        rm -rf "$work/home" && mkdir -p "$work/home/img" && cp "$src"/*.jpg "$work/home/img/"
        cpu=$(standin_cpu)
        figures=$(run_picaroon "$work/home")
        ours_cpu=$(add "$ours_cpu" "$(standin_cpu)" "$cpu")
        ours_wall=$(add "$ours_wall" "${figures%% *}")
        ours+=("$(per_second "$count" $figures)")
        ours_ms+=("$(cpu_ms "$count" $figures)")
        clear_store
        cpu=$(standin_cpu)
        figures=$(timed curl -s -K "$config")
        one_cpu=$(add "$one_cpu" "$(standin_cpu)" "$cpu")
        one_wall=$(add "$one_wall" "${figures%% *}")
        one+=("$(per_second "$count" $figures)")
        one_ms+=("$(cpu_ms "$count" $figures)")
        clear_store
    done

    local loop=$work/loop-$label
    mkdir -p "$loop" && cp "$src"/*.jpg "$loop/"
    start=$(now)
    for f in "$loop"/*.jpg; do
        if curl -s -0 -F module=photolib -F "new_file=@$f;filename=Virtual File;type=image/pjpeg" \
            -b "user_login=$login; user_pass=$digest" "$url" | LC_ALL=C grep -q "$marker"; then
            rm "$f"
        fi
    done
    end=$(now)
    local many ours_median one_median ours_ms_median one_ms_median
    many=$(rate "$count" "$start" "$end")
    clear_store
    rm -rf "$src" "$loop"
    ours_median=$(printf '%s\n' "${ours[@]}" | median)
    one_median=$(printf '%s\n' "${one[@]}" | median)
    ours_ms_median=$(printf '%s\n' "${ours_ms[@]}" | median)
    one_ms_median=$(printf '%s\n' "${one_ms[@]}" | median)

    printf '%-5s x %5d, median of %d | picaroon %7.1f/s | one curl %7.1f/s | curl loop %6.1f/s | picaroon/one curl %.2f | picaroon/curl loop %.2f\n' \
        "$label" "$count" "$rounds" "$ours_median" "$one_median" "$many" \
        "$(awk -v a="$ours_median" -v b="$one_median" 'BEGIN { print a / b }')" \
        "$(awk -v a="$ours_median" -v b="$many" 'BEGIN { print a / b }')"
    echo "      picaroon rounds: ${ours[*]} | one curl rounds: ${one[*]}"
    printf '      CPU a picture (user + system, whole process), median | picaroon %.4f ms | one curl %.4f ms | picaroon/one curl %.2f\n' \
        "$ours_ms_median" "$one_ms_median" "$(awk -v a="$ours_ms_median" -v b="$one_ms_median" 'BEGIN { print a / b }')"
    echo "      picaroon CPU rounds (ms): ${ours_ms[*]} | one curl CPU rounds (ms): ${one_ms[*]}"
    awk -v a="$ours_cpu" -v b="$ours_wall" -v c="$one_cpu" -v d="$one_wall" -v n="$((count * rounds))" \
        'BEGIN { printf "      stand-in busy %.0f%% of picaroon'"'"'s runs, %.0f%% of one curl'"'"'s | stand-in CPU %.3f ms a picture\n", 100 * a / b, 100 * c / d, 1000 * (a + c) / (2 * n) }'

}

echo "== Pictures per second"
bench_size 10KB 10240 "$small_count" 5
bench_size 5MB $((5 * 1024 * 1024)) "$large_count" 7

echo
echo "== Peak memory of one 200 MB picture"
rm -rf "$work/home" && make_pictures "$work/home/img" 1 $((200 * 1024 * 1024))
PICAROON_PASSWORD=$password /usr/bin/time -v "$bin/picaroon" upload --login "$login" --home "$work/home" \
    --host "127.0.0.1:$port" 2>"$work/time.txt" >/dev/null
rss=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/time.txt")
awk -v k="$rss" 'BEGIN { printf "peak RSS %.1f MB for a 200 MB picture: %.2f x its size\n", k / 1024, k / 1024 / 200 }'
clear_store

echo
echo "== Cost per picture with the folder full"
per_picture() { # count -> ms per picture, best of three
    local best=""
    for _ in 1 2 3; do
        rm -rf "$work/home" && make_pictures "$work/home/img" "$1" 10240
        local s
        s=$(run_picaroon "$work/home")
        s=${s%% *}
        clear_store
        best=$(awk -v s="$s" -v n="$1" -v b="$best" 'BEGIN { v = s * 1000 / n; if (b == "" || v < b) b = v; printf "%.4f", b }')
    done
    echo "$best"
}
hundred=$(per_picture 100)
tenk=$(per_picture 10000)
awk -v a="$hundred" -v b="$tenk" 'BEGIN { printf "100 pictures: %.3f ms each | 10,000 pictures: %.3f ms each | ratio %.2f\n", a, b, b / a }'
