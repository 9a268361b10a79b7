#!/usr/bin/env bash
# Builds the editor with its tests and runs every one of them headless; exits non-zero on any
# failure. Three passes:
#   1. the normal build in build/, every test (the end-to-end one under Xvfb; the package's
#      tests build the .deb and install it in the system for a while, so they need root);
#   2. the same tests built with AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/;
#   3. the fuzz targets built with clang in build-fuzz/, each run for FUZZ_SECONDS (default 30)
#      from the seed corpus in tests/fuzz/corpus.
# HOLLENBY_QUICK=1 runs the first pass only.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/tools/ensure-deps.sh" build-essential cmake qt6-base-dev qt6-qpa-plugins \
    zlib1g-dev libzstd-dev help2man fonts-wine qt6-wayland git patch \
    xvfb xdotool imagemagick openbox weston \
    clang libclang-rt-14-dev tiled desktop-file-utils appstream \
    appstream-util shared-mime-info man-db lintian zsh fish \
    dbus tumbler python3-gi gir1.2-gdkpixbuf-2.0 gir1.2-gnomedesktop-3.0 bubblewrap
export QT_QPA_PLATFORM=offscreen
jobs="$(nproc)"

echo "== normal build"
cmake -S "$here" -B "$here/build" >/dev/null
cmake --build "$here/build" --parallel "$jobs"
ctest --test-dir "$here/build" --output-on-failure --parallel "$jobs"

[ "${HOLLENBY_QUICK:-0}" = 1 ] && exit 0

echo "== sanitizer build"
cmake -S "$here" -B "$here/build-asan" -DHOLLENBY_SANITIZE=ON -DHOLLENBY_BENCH=OFF >/dev/null
cmake --build "$here/build-asan" --parallel "$jobs"
ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" \
LSAN_OPTIONS="suppressions=$here/tests/sanitizer/lsan.supp:print_suppressions=0" \
UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    ctest --test-dir "$here/build-asan" --output-on-failure --parallel "$jobs"

echo "== fuzzing"
cmake -S "$here/tests/fuzz" -B "$here/build-fuzz" -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$here/build-fuzz" --parallel "$jobs"
seconds="${FUZZ_SECONDS:-30}"
for target in level picture import; do
    # New inputs go to a scratch folder; the committed corpus is only read.
    scratch="$(mktemp -d)"
    status=0
    "$here/build-fuzz/fuzz_$target" -max_total_time="$seconds" -rss_limit_mb=2048 \
        -artifact_prefix="$here/build-fuzz/" "$scratch" "$here/tests/fuzz/corpus/$target" \
        >"$here/build-fuzz/fuzz_$target.log" 2>&1 || status=$?
    rm -rf "$scratch"
    grep -E '^Done' "$here/build-fuzz/fuzz_$target.log" | sed "s/^/fuzz_$target: /"
    if [ "$status" -ne 0 ]; then
        tail -40 "$here/build-fuzz/fuzz_$target.log" >&2
        echo "fuzz_$target failed; the input is in build-fuzz/" >&2
        exit 1
    fi
done
echo "== all passes green"
