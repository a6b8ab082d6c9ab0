#!/usr/bin/env bash
# Runs the window on a virtual display against the project's stand-in,
# drives it with xdotool as a member would (mouse and keyboard) and takes
# screenshots: idle, hovered, pressed, dragged out, focused by keyboard, the
# folder dialog opened by a click and closed by a click, long status texts,
# a keyboard-only run with Space and with Enter, the folder dialog among
# photos, an import, a message, a run's end with pictures set aside, the
# first start, and a run at twice the pixel density. Run by hand after
# scripts/build.sh; look at the pictures.
#   bash scripts/window-screenshots.sh [OUTPUT_FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" != --on-display ]; then
    bash scripts/install-deps.sh xvfb xauth xdotool imagemagick x11-apps fonts-dejavu-core >/dev/null
    out=$(realpath -m "${1:-/tmp/picaroon-screenshots}")
    mkdir -p "$out"
    rm -f "$out"/*.png
    xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --on-display "$out" 1
    xvfb-run -a -s "-screen 0 1600x1200x24" bash "$0" --on-display "$out" 2
    echo "Screenshots in $out:"
    ls "$out"
    exit 0
fi

out=$2
scale=$3
bin=$PWD/build/bin
# On disk: the long copy must last long enough to be seen.
work=$(mktemp -d /tmp/picaroon-shots.XXXXXX)
export XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/config HOME=$work
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
window_pid=
standin=
cleanup() {
    [ -n "$window_pid" ] && kill "$window_pid" 2>/dev/null
    [ -n "$standin" ] && kill "$standin" 2>/dev/null
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

login=demo
password=demo-password
"$bin/picaroon-standin" --port 0 --login "$login" --password "$password" --store "$work/store" \
    >"$work/standin.out" 2>/dev/null &
standin=$!
for _ in $(seq 100); do grep -q '^listening on ' "$work/standin.out" 2>/dev/null && break; sleep 0.1; done
port=$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$work/standin.out")
[ -n "$port" ] || { echo "the stand-in did not start" >&2; exit 1; }

fail() { echo "FAILED ($scale x): $*" >&2; tail -5 "$work/window.log" >&2; exit 1; }

# Waits for a visible window whose name matches, and prints its id.
wait_window() { # name-regex
    local id
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

gone() { # name-regex
    for _ in $(seq 50); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    return 1
}

geometry() { # window -> X Y WIDTH HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$1")"
    echo "$X $Y $WIDTH $HEIGHT"
}

# The main window's rectangle, with a margin, or a bigger one given.
shot() { # name [x y w h]
    local x y w h
    if [ $# -ge 5 ]; then x=$2 y=$3 w=$4 h=$5; else read -r x y w h < <(geometry "$main"); fi
    local m=$((8 * scale))
    sleep 0.3
    import -window root -crop "$((w + 2 * m))x$((h + 2 * m))+$((x - m))+$((y - m))" +repage "$out/${scale}x-$1.png"
}

# Window coordinates are given in the window's own pixels.
point() { # x y -> screen x y
    local x y w h
    read -r x y w h < <(geometry "$main")
    echo "$((x + $1 * scale)) $((y + $2 * scale))"
}
move_to() { xdotool mousemove $(point "$1" "$2"); sleep 0.2; }
pointer_away() { xdotool mousemove 2 2; sleep 0.2; }

open_window() { # home
    QT_SCALE_FACTOR=$scale "$bin/picaroon" --home "$1" --host "127.0.0.1:$port" 2>>"$work/window.log" &
    window_pid=$!
    main=$(wait_window '^Picaroon$') || fail "the window did not open"
    xdotool windowfocus --sync "$main"
    sleep 0.5
}

close_window() {
    kill "$window_pid" 2>/dev/null || true
    wait "$window_pid" 2>/dev/null || true
    window_pid=
}

key() { xdotool key --delay 60 "$@"; sleep 0.2; }

# From the password box: the two parse buttons and the import button
# come before Start.
keyboard_run() { # home key
    pointer_away
    key Tab
    xdotool type --delay 40 "$login"
    key Tab
    xdotool type --delay 40 "$password"
    key Tab Tab Tab Tab
    key "$2"
    for _ in $(seq 300); do
        [ -z "$(ls "$1/img")" ] && break
        sleep 0.1
    done
    [ -z "$(ls "$1/img")" ] || fail "pictures left after the keyboard-only run with $2: $(ls "$1/img" | head -3)"
}

# Status line, list and buttons in their window pixels.
start_button=(78 226)
import_button=(78 132)
status_line=(78 272)

home=$work/home
"$bin/picaroon-standin" --make-samples "$home/img" --count 5 >/dev/null
open_window "$home"
pointer_away
shot 01-idle
move_to "${start_button[@]}"
shot 02-hovered
xdotool mousedown 1
shot 03-pressed
move_to "${status_line[@]}"
move_to "${status_line[0]}" $((status_line[1] + 4))
shot 04-pressed-then-dragged-out
xdotool mouseup 1
sleep 0.3
[ "$(ls "$home/img" | wc -l)" = 5 ] || fail "a release outside Start started a run"

# The press gave Start the focus by mouse; seven Tabs bring it round again.
pointer_away
key Tab
shot 05-list-focused-by-keyboard
key Tab
shot 06-login-focused-by-keyboard
key Tab Tab Tab Tab Tab
shot 07-start-focused-by-keyboard

if [ "$scale" = 1 ]; then
    # The folder dialog, opened by a click and closed by a click on Cancel.
    move_to "${import_button[@]}"
    xdotool click 1
    dialog=$(wait_window 'Выберите папку с изображениями') || fail "no folder dialog after a click"
    read -r dx dy dw dh < <(geometry "$dialog")
    read -r mx my mw mh < <(geometry "$main")
    left=$((mx < dx ? mx : dx)) top=$((my < dy ? my : dy))
    right=$((mx + mw > dx + dw ? mx + mw : dx + dw)) bottom=$((my + mh > dy + dh ? my + mh : dy + dh))
    shot 08-dialog-opened-by-click "$left" "$top" $((right - left)) $((bottom - top))
    # Cancel is the last button at the dialog's bottom right.
    xdotool mousemove $((dx + dw - 45)) $((dy + dh - 22))
    shot 09-pointer-on-cancel "$left" "$top" $((right - left)) $((bottom - top))
    xdotool click 1
    gone 'Выберите папку с изображениями' || fail "the folder dialog did not answer a click on Cancel"
    shot 10-dialog-closed-by-click

    # A long copy: its status text stays on screen while it lasts.
    mkdir -p "$work/big"
    for i in $(seq 24); do head -c $((24 * 1024 * 1024)) /dev/urandom >"$work/big/big$i.jpg"; done
    move_to "${import_button[@]}"
    xdotool click 1
    dialog=$(wait_window 'Выберите папку с изображениями') || fail "no folder dialog after a click"
    sleep 0.5
    xdotool type --delay 20 "$work/big"
    key Return
    shot 11-long-status-copying
    for _ in $(seq 300); do [ "$(ls "$home/img" | wc -l)" = 29 ] && break; sleep 0.2; done
    sleep 1
    shot 12-after-the-copy
    close_window

    # A folder of 99,999 pictures and a run through its first ones.
    rm -rf "$home/img" && mkdir -p "$home/img"
    head -c $((99999 * 64)) /dev/urandom | split -b 64 -d -a 5 --additional-suffix=.jpg - "$home/img/p"
    open_window "$home"
    pointer_away
    shot 13-found-99999
    pointer_away
    key Tab
    xdotool type --delay 40 "$login"
    key Tab
    xdotool type --delay 40 "$password"
    key Tab Tab Tab Tab space
    sleep 1.5
    # The status line changes several times a picture: three looks at it.
    shot 14a-long-status-counting
    shot 14b-long-status-counting
    shot 14c-long-status-counting
    key space
    shot 15-stopped-by-keyboard
    close_window
    rm -rf "$home/img"
    "$bin/picaroon-standin" --make-samples "$home/img" --count 5 >/dev/null
fi

# Keyboard alone, the pointer outside the window: Space, then Enter.
close_window 2>/dev/null || true
rm -rf "$home/img"
"$bin/picaroon-standin" --make-samples "$home/img" --count 6 >/dev/null
stored_before=$(find "$work/store" -name '*.jpg' 2>/dev/null | wc -l)
open_window "$home"
[ "$scale" = 2 ] && shot 01-idle-at-2x
keyboard_run "$home" space
shot 16-keyboard-run-with-space-done
"$bin/picaroon-standin" --make-samples "$home/img" --count 4 >/dev/null
sleep 1.5
shot 17-list-followed-the-folder
# The focus went back to Start with the run's end.
key Return
for _ in $(seq 300); do [ -z "$(ls "$home/img")" ] && break; sleep 0.1; done
[ -z "$(ls "$home/img")" ] || fail "pictures left after the keyboard-only run with Enter"
shot 18-keyboard-run-with-enter-done
stored=$(($(find "$work/store" -name '*.jpg' | wc -l) - stored_before))
[ "$stored" = 10 ] || fail "the stand-in holds $stored new pictures, not 10"
echo "keyboard-only runs at ${scale}x: 6 pictures with Space, 4 with Enter, all stored by the stand-in"

# Any visible window of the program other than the main one (a dialog or a
# message whose title the translation decides), printed as its id.
wait_other_window() {
    local id
    for _ in $(seq 100); do
        for id in $(xdotool search --onlyvisible --pid "$window_pid" 2>/dev/null); do
            [ "$id" != "$main" ] && { echo "$id"; return 0; }
        done
        sleep 0.1
    done
    return 1
}

# The main window together with another one.
shot_with() { # name other-window
    local dx dy dw dh mx my mw mh
    read -r dx dy dw dh < <(geometry "$2")
    read -r mx my mw mh < <(geometry "$main")
    local left=$((mx < dx ? mx : dx)) top=$((my < dy ? my : dy))
    local right=$((mx + mw > dx + dw ? mx + mw : dx + dw)) bottom=$((my + mh > dy + dh ? my + mh : dy + dh))
    shot "$1" "$left" "$top" $((right - left)) $((bottom - top))
}

# What a member meets in their own language: the folder dialog in a folder
# of photos, an import under way, a message, a run's end with pictures set
# aside, and the very first start.
close_window 2>/dev/null || true
rm -rf "$home/img" "$work/photos"
mkdir -p "$home/img"
"$bin/picaroon-standin" --make-samples "$work/photos" --count 300 >/dev/null
# Big enough to be copied for a while, so that the count is seen and Esc
# ends it halfway.
for i in $(seq 60); do head -c $((32 * 1024 * 1024)) /dev/urandom >"$work/photos/zz-big$i.jpg"; done
open_window "$home"
move_to "${import_button[@]}"
xdotool click 1
dialog=$(wait_other_window) || fail "no folder dialog after a click"
sleep 0.5
xdotool type --delay 20 "$work/photos/"
sleep 1
shot_with 22-folder-dialog-with-pictures "$dialog"
key Return
sleep 0.3
xdotool search --onlyvisible --pid "$window_pid" | grep -qv "^$main$" && key Return
shot 23-import-in-progress
# Without a window manager the window does not take the focus back from
# the closed dialog by itself.
xdotool windowfocus --sync "$main"
key Escape
sleep 1
shot 24-import-cancelled
close_window

rm -rf "$home/img" && mkdir -p "$home/img"
mkfifo "$home/img/pipe.jpg"
"$bin/picaroon-standin" --make-samples "$home/img" --count 3 >/dev/null
head -c $((5 * 1024 * 1024)) /dev/urandom >"$home/img/big-1.jpg"
head -c $((5 * 1024 * 1024)) /dev/urandom >"$home/img/big-2.jpg"
kill "$standin"; wait "$standin" 2>/dev/null || true
"$bin/picaroon-standin" --port "$port" --login "$login" --password "$password" --store "$work/store" \
    --max-body 4M >"$work/standin.out" 2>/dev/null &
standin=$!
for _ in $(seq 100); do grep -q '^listening on ' "$work/standin.out" 2>/dev/null && break; sleep 0.1; done
open_window "$home"
keyboard_run_started() {
    pointer_away
    key Tab
    xdotool type --delay 40 "$login"
    key Tab
    xdotool type --delay 40 "$password"
    key Return
}
keyboard_run_started
message=$(wait_other_window) || fail "no message for the named pipe"
shot_with 25-message-named-pipe "$message"
for _ in $(seq 300); do [ "$(ls "$home/img" | wc -l)" = 3 ] && break; sleep 0.1; done
sleep 1
# Return here would go to the password box and start a run again.
xdotool windowfocus --sync "$message"
key Return
sleep 0.5
shot 26-end-with-set-aside
move_to "${status_line[@]}"
sleep 1.5
shot 27-end-status-tooltip
close_window

fresh=$work/fresh-config
mkdir -p "$fresh"
XDG_CONFIG_HOME=$fresh QT_SCALE_FACTOR=$scale "$bin/picaroon" --home "$home" 2>>"$work/window.log" &
window_pid=$!
main=$(wait_window '^Picaroon$') || fail "the window did not open on a first start"
settings=$(wait_other_window) || fail "the first start did not open the settings"
shot_with 28-first-start "$settings"
close_window

# A slow link (a relay that reads 1 MiB a second): after a few seconds the
# title and the status line's tooltip give the speed and the time left.
python3 -u - "$port" >"$work/relay.out" 2>/dev/null <<'EOF' &
import socket, sys, threading, time
target = int(sys.argv[1])
server = socket.socket()
server.bind(("127.0.0.1", 0))
server.listen(8)
print(server.getsockname()[1])
def pipe(src, dst, rate):
    try:
        while True:
            data = src.recv(16384)
            if not data:
                break
            dst.sendall(data)
            if rate:
                time.sleep(len(data) / rate)
        dst.shutdown(socket.SHUT_WR)
    except OSError:
        pass
while True:
    client, _ = server.accept()
    client.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 65536)
    upstream = socket.create_connection(("127.0.0.1", target))
    threading.Thread(target=pipe, args=(client, upstream, 1024 * 1024), daemon=True).start()
    threading.Thread(target=pipe, args=(upstream, client, 0), daemon=True).start()
EOF
relay=$!
for _ in $(seq 50); do [ -s "$work/relay.out" ] && break; sleep 0.1; done
rm -rf "$home/img" && mkdir -p "$home/img"
for i in 1 2 3 4 5 6; do head -c $((3 * 1024 * 1024)) /dev/urandom >"$home/img/slow-$i.jpg"; done
service_port=$port
port=$(head -1 "$work/relay.out")
open_window "$home"
port=$service_port
keyboard_run_started
sleep 6
move_to "${status_line[@]}"
sleep 1.5
read -r x y w h < <(geometry "$main")
shot 29-slow-link-pace "$x" "$y" "$((w + 160 * scale))" "$((h + 40 * scale))"
xdotool getwindowname "$main" >"$out/${scale}x-29-title.txt"
close_window
kill "$relay" 2>/dev/null || true
open_window "$home"
pointer_away
key Tab
xdotool type --delay 40 "$login"
key Tab
xdotool type --delay 40 "$password"

if [ "$scale" = 2 ]; then
    rm -rf "$home/img"
    "$bin/picaroon-standin" --make-samples "$home/img" --count 2000 >/dev/null
    sleep 1
    move_to "${start_button[@]}"
    shot 19-hovered-at-2x
    xdotool click 1
    sleep 1
    move_to "${status_line[@]}"
    shot 20-run-at-2x
    for _ in $(seq 600); do [ -z "$(ls "$home/img")" ] && break; sleep 0.1; done
    shot 21-run-done-at-2x
fi
close_window
