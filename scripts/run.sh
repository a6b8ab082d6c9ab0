#!/usr/bin/env bash
# Installs what is missing, builds, and runs the upload job against the
# project's local stand-in for the blogging service: sample pictures in a
# fresh home folder, a demo account, the upload (in the window when there is
# a display, headless otherwise), then the addresses that the service's
# photo-library page lists afterwards.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh >/dev/null

login=demo
password=demo-password
# Named on both sides, so that the member's own settings cannot differ.
image_host=images.demo.test
home=$(mktemp -d /tmp/picaroon-demo.XXXXXX)
build/bin/picaroon-standin --make-samples "$home/img" --count 6

build/bin/picaroon-standin --port 0 --login "$login" --password "$password" \
    --store "$home/service-store" --image-host "$image_host" >"$home/standin.out" 2>"$home/standin.log" &
standin=$!
trap 'kill "$standin" 2>/dev/null; wait "$standin" 2>/dev/null || true' EXIT
for _ in $(seq 100); do
    grep -q '^listening on ' "$home/standin.out" 2>/dev/null && break
    sleep 0.1
done
port=$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$home/standin.out")
[ -n "$port" ] || { echo "The stand-in did not start:" >&2; cat "$home/standin.log" >&2; exit 1; }

echo "Home folder: $home (pictures in $home/img)"
echo "Stand-in service on 127.0.0.1:$port, account login '$login', password '$password'"
echo
status=0
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    echo "== The window: type the login '$login' and the password '$password', then press Закачать."
    echo "   Close the window when done."
    build/bin/picaroon --home "$home" --host "127.0.0.1:$port" || status=$?
else
    echo "== picaroon upload (no display: the same run without the window)"
    PICAROON_PASSWORD=$password build/bin/picaroon upload --login "$login" --home "$home" \
        --host "127.0.0.1:$port" || status=$?
    echo "(exit status $status)"
fi

echo
echo "== Picture addresses on the photo-library page (picaroon extract-links)"
exec 3<>"/dev/tcp/127.0.0.1/$port"
printf 'GET / HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n' >&3
build/bin/picaroon extract-links --home "$home" --image-host "$image_host" --account 418265 <&3
exec 3<&-
tr -d '\r' <"$home/url.txt"
exit "$status"
