#!/usr/bin/env bash
# Fails when a text the program shows has no Russian, or when the
# translation sources no longer match the code's texts.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
cp "$root"/translations/*.ts "$copy"/
"$root/scripts/update-translations.sh" "$copy"
status=0
for ts in "$root"/translations/*.ts; do
    if ! diff -u "$ts" "$copy/$(basename "$ts")"; then
        echo "$(basename "$ts") is out of date with the code: run scripts/update-translations.sh" >&2
        status=1
    fi
    if grep -n 'type="unfinished"\|<translation></translation>' "$ts"; then
        echo "$(basename "$ts") has texts without a translation" >&2
        status=1
    fi
done
exit $status
