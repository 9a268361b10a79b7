#!/bin/sh
# Builds the Debian package from an already built tree, as its package target would.
#   build_package.sh BUILD_DIR OUT_DIR
set -eu
rm -rf "$2"
mkdir -p "$2"
cpack -G DEB --config "$1/CPackConfig.cmake" -B "$2" >"$2/cpack.log" 2>&1 || {
    cat "$2/cpack.log" >&2
    exit 1
}
ls "$2"/*.deb
