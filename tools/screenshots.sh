#!/usr/bin/env bash
# Takes the README's pictures from the real program in a virtual X display:
#   docs/main-window.png  the main window with samples/short.lvl loaded and the key built
#   docs/play-window.png  the play window running the same level
# Run after a build into build/ (./run.sh or ./test.sh): tools/screenshots.sh
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
if [ "${1:-}" != --inside ]; then
    "$here/tools/ensure-deps.sh" xvfb xdotool imagemagick
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --inside
fi

exe="$here/build/hollenby-level-editor"
title='^Hollenby Systems - \(Level Editor\)$'
cd "$here/samples"
"$exe" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT

# Without a window manager a window takes typing only once it has been given the focus.
main="$(xdotool search --sync --onlyvisible --name "$title" | head -1)"
xdotool windowfocus --sync "$main"

# Enter after a message box has closed the box; wait for the box to come and go.
close_message() {
    for _ in $(seq 50); do
        [ "$(xdotool search --onlyvisible --name "$title" | wc -l)" -ge 2 ] && break
        sleep 0.1
    done
    sleep 0.3
    xdotool key --clearmodifiers Return
    sleep 0.3
}

xdotool type --delay 2 "$here/samples/short.lvl"
xdotool key Return
close_message                    # no resources folder yet: the key cannot be built
xdotool key Tab Tab              # past the browse button to the resources box
xdotool type --delay 2 "$here/samples/_resources"
xdotool key Return
close_message                    # "Level parsed and loaded ok"
sleep 1
import -window "$main" "$here/docs/main-window.png"

xdotool key Tab Tab Tab space    # browse button, Load Graphics, then the play button
play="$(xdotool search --sync --onlyvisible --name '^View Level \(looping\)$' | head -1)"
sleep 2
import -window "$play" "$here/docs/play-window.png"
xdotool windowclose "$play" 2>/dev/null || xdotool windowkill "$play"
echo "wrote docs/main-window.png and docs/play-window.png"
