#!/bin/sh
# The installed tree holds everything the package carries, each file valid, and the thumbnailer
# works as a file manager runs it, from a prefix moved after installing.
#   install_test.sh BUILD_DIR
set -eu
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cmake --install "$build" --prefix "$work/installed" >/dev/null
mv "$work/installed" "$work/moved"
root=$work/moved
share=$root/share
for file in bin/hollenby-level bin/hollenby-level-editor \
    share/thumbnailers/hollenby-level.thumbnailer \
    share/bash-completion/completions/hollenby-level \
    share/metainfo/example.hollenby.LevelEditor.metainfo.xml \
    share/applications/hollenby-level-editor.desktop share/mime/packages/hollenby-level.xml \
    share/hollenby-level-editor/samples/_resources/05.bmp; do
    [ -e "$root/$file" ] || fail "not installed: $file"
done
if command -v help2man >/dev/null; then
    for page in hollenby-level hollenby-level-editor; do
        zcat "$share/man/man1/$page.1.gz" | grep -q '^\.TH' || fail "no man page for $page"
    done
    zcat "$share/man/man1/hollenby-level.1.gz" | grep -q '^\.SS thumbnail' ||
        fail "the man page lacks the commands' own options"
fi

desktop=$share/applications/hollenby-level-editor.desktop
desktop-file-validate "$desktop" || fail "desktop entry"
! grep -q '^MimeType=' "$desktop" || fail "the editor claims levels it cannot open"
appstreamcli validate --no-net "$share/metainfo/example.hollenby.LevelEditor.metainfo.xml" \
    >/dev/null || fail "AppStream metainfo"

# The thumbnailer entry: a key file desktop-file-validate does not cover.
entry=$share/thumbnailers/hollenby-level.thumbnailer
[ "$(sed -n 1p "$entry")" = "[Thumbnailer Entry]" ] || fail "thumbnailer group"
mime=$(sed -n 's/^MimeType=//p' "$entry")
grep -q "mime-type type=\"${mime%;}\"" "$share/mime/packages/hollenby-level.xml" ||
    fail "thumbnailer MIME type $mime is not the level type"
command=$(sed -n 's/^Exec=//p' "$entry")
[ "$(sed -n 's/^TryExec=//p' "$entry")" = "${command%% *}" ] || fail "TryExec"

# No tile set near this level: a preview in flat colours, never the samples the program installs.
mkdir "$work/a" "$work/b"
printf '05,01,98' >"$work/a/level.lvl"
cp "$work/a/level.lvl" "$work/b/level.lvl"
cp -r "$share/hollenby-level-editor/samples/_resources" "$work/b/"
run() { PATH="$root/bin:$PATH" sh -c "$(echo "$command" | sed "s|%s|128|; s|%i|$1|; s|%o|$2|")"; }
run "$work/a/level.lvl" "$work/a/thumb.png" || fail "thumbnailer command"
run "$work/b/level.lvl" "$work/b/thumb.png"
! cmp -s "$work/a/thumb.png" "$work/b/thumb.png" ||
    fail "a level without a tile set was drawn with the installed samples"
completions=$(PATH="$root/bin:$PATH" bash -c '. "$1"; COMP_WORDS=(hollenby-level th); COMP_CWORD=1
    _hollenby_level; echo "${COMPREPLY[*]}"' - "$share/bash-completion/completions/hollenby-level")
[ "$completions" = thumbnail ] || fail "bash completion gave '$completions'"
echo "installed tree complete"
