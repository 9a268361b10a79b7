#!/usr/bin/env bash
# Runs a program in a desktop session of its own, as people have them:
#   session.sh x11 WIDTHxHEIGHT SCALE program [arguments]      Xvfb with the openbox window manager
#   session.sh wayland WIDTHxHEIGHT SCALE program [arguments]  weston, headless
# SCALE is the screen's scale factor (1, 1.25, 2).
set -euo pipefail
kind="$1" size="$2" scale="$3"
shift 3
export QT_SCALE_FACTOR="$scale"

case "$kind" in
x11)
    if [ "${HOLLENBY_SESSION_INSIDE:-}" != 1 ]; then
        HOLLENBY_SESSION_INSIDE=1 exec xvfb-run -a -s "-screen 0 ${size}x24" "$0" x11 "$size" \
            "$scale" "$@"
    fi
    ready="$(mktemp -u)"
    openbox --sm-disable --startup "touch $ready" >/dev/null 2>&1 &
    wm=$!
    trap 'kill $wm 2>/dev/null || true; rm -f "$ready"' EXIT
    for _ in $(seq 100); do
        [ -e "$ready" ] && break
        sleep 0.05
    done
    [ -e "$ready" ] || { echo "session.sh: openbox did not start" >&2; exit 1; }
    QT_QPA_PLATFORM=xcb "$@"
    ;;
wayland)
    # weston needs a runtime folder of mode 700, and draws nothing headless without pixman.
    runtime="$(mktemp -d)"
    chmod 700 "$runtime"
    socket="hollenby-$$"
    XDG_RUNTIME_DIR="$runtime" weston --backend=headless-backend.so --use-pixman \
        --socket="$socket" --width="${size%x*}" --height="${size#*x}" --idle-time=0 \
        >"$runtime/weston.log" 2>&1 &
    compositor=$!
    trap 'kill $compositor 2>/dev/null || true; wait $compositor 2>/dev/null || true
          rm -rf "$runtime"' EXIT
    for _ in $(seq 100); do
        [ -S "$runtime/$socket" ] && break
        sleep 0.05
    done
    [ -S "$runtime/$socket" ] || { cat "$runtime/weston.log" >&2; exit 1; }
    # Under the sanitizers: what the graphics driver loaded by Qt's Wayland plugin keeps until
    # the end is named, for the leak suppressions, only in full stacks.
    [ -z "${ASAN_OPTIONS:-}" ] || export ASAN_OPTIONS="$ASAN_OPTIONS:fast_unwind_on_malloc=0"
    # Its headless output has no seat, and Qt's Wayland input method then fails on the first
    # key event; a desktop always has a seat.
    XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland \
        QT_IM_MODULE=compose "$@"
    ;;
*)
    echo "session.sh: unknown session $kind (x11 or wayland)" >&2
    exit 2
    ;;
esac
