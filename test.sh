#!/usr/bin/env bash
# Builds the editor with its tests and runs every test headless; exits non-zero on any failure.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/tools/ensure-deps.sh" build-essential cmake qt6-base-dev qt6-qpa-plugins
export QT_QPA_PLATFORM=offscreen
cmake -S "$here" -B "$here/build" >/dev/null
cmake --build "$here/build" --parallel "$(nproc)"
ctest --test-dir "$here/build" --output-on-failure
