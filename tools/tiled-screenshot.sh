#!/usr/bin/env bash
# Takes the README's picture of Tiled with a sample level opened through the extension, in a
# virtual X display and a home of its own (nothing of the user's Tiled settings is touched):
#   docs/tiled-extension.png  Tiled showing samples/short.lvl, its tileset and map properties
# Run after a build into build/: tools/tiled-screenshot.sh
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
if [ "${1:-}" != --inside ]; then
    "$here/tools/ensure-deps.sh" xvfb xdotool imagemagick tiled
    exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" --inside
fi

home="$(mktemp -d)"
trap 'kill "${pid:-}" 2>/dev/null || true; rm -rf "$home"' EXIT
export HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_RUNTIME_DIR="$home/runtime"
export QT_QPA_PLATFORM=xcb
mkdir -m 700 "$XDG_RUNTIME_DIR"
"$here/build/hollenby-level" tiled-extension install >/dev/null
cp -r "$here/samples" "$home/levels"
cd "$home/levels"
tiled short.lvl >/dev/null 2>&1 &
pid=$!
window="$(xdotool search --sync --onlyvisible --name '^short\.lvl' | head -1)"
sleep 3 # the tiles are drawn after the window shows
import -window "$window" "$here/docs/tiled-extension.png"
echo "wrote docs/tiled-extension.png"
