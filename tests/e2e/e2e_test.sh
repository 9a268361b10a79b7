#!/usr/bin/env bash
# Starts the editor in a virtual X display with no window manager and uses it as a person would:
# types a level path and Enter, a resources path and Enter, checks the drawn tiles and the key by
# their pixels and the message boxes by their windows, plays the level and closes the play window,
# then does so 20 times more with every core kept busy, and leaves by the close box; a second run
# leaves by File > Exit.
#   tests/e2e/e2e_test.sh build/hollenby-level-editor build/tests/e2e/closewindow
set -euo pipefail
exe="$(realpath "$1")"
closewindow="$(realpath "$2")"
if [ "${3:-}" != --inside ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$exe" "$closewindow" --inside
fi

work="$(mktemp -d)"
pid=""
busy=()
stop_busy() { [ ${#busy[@]} -eq 0 ] || kill "${busy[@]}" 2>/dev/null || true; busy=(); }
cleanup() {
    stop_busy
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
trap "exit 1" INT TERM HUP # so that cleanup runs, busy loops included
fail() {
    echo "FAIL: $*" >&2
    [ -f "$work/shot.png" ] && cp "$work/shot.png" "${TMPDIR:-/tmp}/hollenby-e2e-failure.png" &&
        echo "screenshot: ${TMPDIR:-/tmp}/hollenby-e2e-failure.png" >&2
    exit 1
}

# A tile set of flat colours, one per bitmap, so a pixel names its tile.
declare -A colour=(
    [01]=FF0000 [02]=00FF00 [03]=0000FF [04]=FFFF00 [05]=FF00FF [06]=00FFFF [07]=800000
    [08]=008000 [09]=000080 [10]=808000 [11]=800080 [12]=008080 [13]=C08040 [14]=4080C0
    [15]=40C080 [16]=C04080 [17]=8040C0 [18]=80C040 [19]=202020 [20]=E0E0A0
    [bmpOBJ_WarnOpen]=FF8000 [bmpOBJ_WarnFunnel]=0080FF
)
mkdir "$work/res"
for code in "${!colour[@]}"; do
    /usr/bin/convert -size 40x40 "xc:#${colour[$code]}" "BMP3:$work/res/$code.bmp"
done
# Twelve lines: the play window draws nothing of a level of six lines or fewer.
{
    printf '01,02,03,04,05,06,07,08\r\n09,10,11,12,13,14,15,16\r\n17,18,19,20,98,99,01,02'
    for _ in $(seq 9); do printf '\r\n03,04,05,06,07,08,09,10'; done
} >"$work/level.lvl"

title='^Hollenby Systems - \(Level Editor\)$'
windows_titled() { xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l; }
wait_for_windows() { # title count
    for _ in $(seq 100); do
        [ "$(windows_titled "$1")" -eq "$2" ] && return 0
        sleep 0.1
    done
    for w in $(xdotool search --name "$1"); do echo "window $w: $(xdotool getwindowname "$w") $(xdotool getwindowgeometry "$w" | tr '\n' ' ')" >&2; done
    top -b -n1 -p "$pid" | tail -1 >&2
    fail "expected $2 window(s) titled $1, found $(windows_titled "$1")"
}

cd "$work"
"$exe" &
pid=$!
main="$(xdotool search --sync --onlyvisible --name "$title" | head -1)"
xdotool windowfocus --sync "$main"

# Types a path and Enter; a message box opens over the main window, and Enter answers it.
enter_path() {
    xdotool type --delay 2 "$1"
    xdotool key Return
    wait_for_windows "$title" 2
    sleep 0.3
    xdotool key Return
    wait_for_windows "$title" 1
}
# In the level box: the resources box is empty, so the key cannot be built and says so.
enter_path "$work/level.lvl"
xdotool key Tab Tab
enter_path "$work/res" # "Level parsed and loaded ok"
sleep 0.5
import -window root "$work/shot.png"

# Where the client area lies: the level path box is the first light green on the screen, and
# sits 137 x 27 pixels into the client area.
anchor="$(/usr/bin/convert "$work/shot.png" -fill black +opaque '#C0FFC0' \
    -fill white -opaque '#C0FFC0' -trim -format '%X %Y' info: | tr -d '+')"
gx="${anchor% *}"
gy="${anchor#* }"
cx=$((gx - 138))
cy=$((gy - 28))

# The pixel at (x, y) of the client area must be the colour of tile `code`.
check_pixel() { # x y code what
    local got want="${colour[$3]}"
    got="$(/usr/bin/convert "$work/shot.png" -format "%[hex:p{$((cx + $1)),$((cy + $2))}]" info: |
        cut -c1-6)"
    [ "$got" = "$want" ] || fail "$4 $3 at ($1,$2): $got, want $want"
}
# Render view: the render frame's inside starts at (1, 91); tile (column c, row r) at
# (585 c, 600 (r + 1)) twips, 15 to the pixel; sample each tile's middle.
check_tile() { check_pixel $((1 + $1 * 39 + 20)) $((91 + ($2 + 1) * 40 + 20)) "$3" tile; }
for t in "0 0 01" "2 0 03" "7 0 08" "0 1 09" "5 1 14" "3 2 20"; do check_tile $t; done

# Key: images from (9795, 615) twips, 615 apart downwards, columns 1600 apart. The last row
# is cut by the frame's bottom edge, so sample near each image's top.
check_key() { check_pixel $((1 + 653 + $1 * 107 + 20)) $((91 + 41 + $2 * 41 + 6)) "$3" "key entry"; }
for k in "0 0 01" "0 13 14" "1 0 15"; do check_key $k; done

# The play button, reached by the tab order from the resources box.
xdotool key Tab Tab Tab space
play="$(xdotool search --sync --onlyvisible --name '^View Level \(looping\)$' | head -1)"
sleep 1
import -window "$play" "$work/play.png"
tiles=0
for probe in "20 20" "60 20" "20 60" "100 100" "140 180" "300 200"; do
    got="$(/usr/bin/convert "$work/play.png" -format "%[hex:p{${probe// /,}}]" info: | cut -c1-6)"
    for code in "${!colour[@]}"; do
        [ "$got" = "${colour[$code]}" ] && tiles=$((tiles + 1)) && break
    done
done
[ "$tiles" -ge 1 ] || fail "the play window shows no tile of the level"
"$closewindow" "$play"
wait_for_windows '^View Level \(looping\)$' 0
kill -0 "$pid" 2>/dev/null || fail "closing the play window ended the editor"

# Play and close, again and again, with every core busy: each close request is answered, and the
# window is gone within a second. The play button is clicked (the play window took the focus).
for _ in $(seq "$(nproc)"); do
    sh -c 'while :; do :; done' &
    busy+=($!)
done
play_title='^View Level \(looping\)$'
# Once: a move with --sync to where the pointer already is waits for a motion that never comes.
xdotool mousemove --sync $((cx + 129)) $((cy + 120))
for cycle in $(seq 20); do
    xdotool click 1
    wait_for_windows "$play_title" 1
    "$closewindow" "$(xdotool search --onlyvisible --name "$play_title")" 1000 ||
        fail "cycle $cycle: the play window was still open 1 s after its close request"
done
stop_busy

# The close box of the main window ends the editor.
eval "$(xdotool getwindowgeometry --shell "$main")" # X, Y: where the window is
menu_x=$((cx - X + 15))
menu_y=$((cy - Y - 10))
"$closewindow" "$main"
wait_ended() { # what
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && fail "the editor did not end by $1"
    pid=""
}
wait_ended "its close box"

# A second run leaves by File > E&xit: a click on the menu's title, then the item's access key.
"$exe" &
pid=$!
main="$(xdotool search --sync --onlyvisible --name "$title" | head -1)"
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove --sync $((X + menu_x)) $((Y + menu_y)) click 1
sleep 0.5
xdotool key x
wait_ended "File > Exit"
echo "e2e: typed both paths, checked 6 tiles, 3 key entries, 2 message boxes, played and closed" \
    "21 times (20 with every core busy), left by the close box and by File > Exit"
