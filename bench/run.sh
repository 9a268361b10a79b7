#!/usr/bin/env bash
# Builds both benchmarks and runs each offscreen and on an X display: the display named by
# DISPLAY, or a virtual one started here when none is set. Exits non-zero when a goal is missed.
#   bench/run.sh [build folder, default build]
set -uo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath "${1:-$here/build}")"
cmake --build "$build" --target bench_render bench_play >/dev/null || exit 1
status=0
run() { # platform command...
    local platform="$1"
    shift
    if [ "$platform" = offscreen ]; then
        QT_QPA_PLATFORM=offscreen "$@" || status=1
    elif [ -n "${DISPLAY:-}" ]; then
        QT_QPA_PLATFORM=xcb "$@" || status=1
    else
        xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb "$@" || status=1
    fi
    echo
}
for platform in offscreen xcb; do
    run "$platform" "$build/bench/render/bench_render"
    run "$platform" "$build/bench/play/bench_play"
done 2> >(grep -v -e XDG_RUNTIME_DIR -e propagateSizeHints >&2)
exit "$status"
