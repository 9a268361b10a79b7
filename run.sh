#!/usr/bin/env bash
# Builds the editor and starts it inside samples/, where a tile set and a few levels wait.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/tools/ensure-deps.sh" build-essential cmake qt6-base-dev qt6-qpa-plugins \
    zlib1g-dev libzstd-dev fonts-wine qt6-wayland
cmake -S "$here" -B "$here/build" -DHOLLENBY_TESTS=OFF -DHOLLENBY_BENCH=OFF >/dev/null
cmake --build "$here/build" --parallel "$(nproc)"
cd "$here/samples"
exec "$here/build/hollenby-level-editor" "$@"
