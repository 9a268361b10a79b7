#!/bin/sh
# The package as Debian's checker sees it: no error, no warning, nothing overridden; and the
# hardening its programs were built with, as readelf shows it.
#   lintian_test.sh PACKAGE_DIR
set -eu
deb=$(ls "$1"/*.deb)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

root=""
[ "$(id -u)" -ne 0 ] || root=--allow-root
lintian $root --no-override --display-info "$deb" >"$work/lintian" 2>&1 || true
cat "$work/lintian"
! grep -Eq '^[EW]: ' "$work/lintian" || fail "lintian has errors or warnings"
! grep -q 'internal error\|^ *[Cc]ould not' "$work/lintian" || fail "lintian did not run"
dpkg-deb -c "$deb" >"$work/contents"
! grep -q 'lintian/overrides' "$work/contents" || fail "the package overrides lintian"

dpkg-deb -x "$deb" "$work/root"
zcat "$work/root/usr/share/doc/hollenby-level-editor/changelog.gz" >"$work/changelog"
[ "$(dpkg-parsechangelog -l "$work/changelog" -S Version)" = "$(dpkg-deb -f "$deb" Version)" ] ||
    fail "the changelog's latest version is not the package's"

for program in hollenby-level hollenby-level-editor; do
    binary=$work/root/usr/bin/$program
    readelf -hW "$binary" | grep -q 'Type: *DYN' || fail "$program is not position-independent"
    readelf -dW "$binary" | grep -q 'Flags:.*PIE' || fail "$program is not a PIE"
    readelf -lW "$binary" | grep -q 'GNU_RELRO' || fail "$program has no RELRO segment"
    readelf -dW "$binary" | grep -Eq 'BIND_NOW|Flags:.* NOW' || fail "$program binds lazily"
    readelf --dyn-syms -W "$binary" | grep -q '__stack_chk_fail' ||
        fail "$program was built without the stack protector"
    ! readelf -SW "$binary" | grep -Eq '\.debug_|\.symtab' || fail "$program is not stripped"
done
echo "lintian clean; both programs PIE, RELRO with BIND_NOW, stack-protected, stripped"
