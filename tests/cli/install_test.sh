#!/bin/sh
# The installed tree holds everything the package carries, each file valid; the prefix's MIME
# database knows levels; the thumbnailer works as a file manager runs it, from a prefix moved
# after installing.
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
    share/bash-completion/completions/hollenby-level share/zsh/vendor-completions/_hollenby-level \
    share/fish/vendor_completions.d/hollenby-level.fish \
    share/doc/hollenby-level-editor/copyright share/doc/hollenby-level-editor/changelog.gz \
    share/metainfo/example.hollenby.LevelEditor.metainfo.xml \
    share/applications/hollenby-level-editor.desktop share/mime/packages/hollenby-level.xml \
    share/hollenby-level-editor/samples/_resources/05.bmp; do
    [ -e "$root/$file" ] || fail "not installed: $file"
done
if command -v help2man >/dev/null; then
    for page in hollenby-level hollenby-level-editor; do
        text=$(MANWIDTH=80 man -l "$share/man/man1/$page.1.gz" 2>"$work/man.err")
        [ ! -s "$work/man.err" ] || fail "$page.1: $(cat "$work/man.err")"
        echo "$text" | awk 'length > 80 { exit 1 }' || fail "$page.1 is wider than 80 columns"
    done
    text=$(MANWIDTH=80 man -l "$share/man/man1/hollenby-level.1.gz")
    echo "$text" | grep -q '^EXIT STATUS$' || fail "no EXIT STATUS section"
    echo "$text" | grep -q '^   thumbnail$' || fail "the man page lacks the commands' own options"
    # Every kind of finding check knows, with its severity, as a row of the page's table.
    "$root/bin/hollenby-level" help check | awk '/^Findings/ { on = 1; next } /^$/ { on = 0 }
        on { print $1, $2 }' >"$work/findings"
    [ -s "$work/findings" ] || fail "check's help lists no findings"
    while read -r id severity; do
        echo "$text" | grep -Eq "^ +$id +$severity " || fail "the man page lacks $id ($severity)"
    done <"$work/findings"
fi

# The prefix's own MIME database, for a prefix the system's triggers do not look after.
grep -q 'application/x-hollenby-level:\*\.lvl' "$share/mime/globs2" ||
    fail "the MIME database of the prefix does not know *.lvl"

desktop=$share/applications/hollenby-level-editor.desktop
desktop-file-validate "$desktop" || fail "desktop entry"
main=$(sed -n 's/^Categories=//p' "$desktop" | tr ';' '\n' |
    grep -cxE 'AudioVideo|Audio|Video|Development|Education|Game|Graphics|Network|Office|Science|Settings|System|Utility' ||
    true)
[ "$main" = 1 ] || fail "the desktop entry has $main main categories, not one"
! grep -q '^MimeType=' "$desktop" || fail "the editor claims levels it cannot open"
metainfo=$share/metainfo/example.hollenby.LevelEditor.metainfo.xml
appstreamcli validate --no-net "$metainfo" >/dev/null || fail "appstreamcli: AppStream metainfo"
appstream-util validate --nonet "$metainfo" >/dev/null || fail "appstream-util: AppStream metainfo"

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
echo "installed tree complete"
