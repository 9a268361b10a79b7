#!/bin/sh
# Writes the man page of hollenby-level from the built program's own help, so that it lists
# every command and option the program has: help2man frames the general help; each command's
# help (check's findings as a table) and the exit statuses become sections of their own, filled
# to the reader's width; the static sections follow.
#   man-page.sh EXECUTABLE VERSION STATIC.h2m OUT.1
set -eu
exe=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

{
    printf '[>COMMANDS]\n'
    "$exe" --help | awk '/^Commands:/ { on = 1; next } /^$/ { on = 0 } on { print $1 }' |
        while read -r command; do
            printf '.SS %s\n' "$command"
            "$exe" help "$command" | awk -f "$here/help2roff.awk"
        done
    printf '[EXIT STATUS]\n'
    "$exe" --help | awk '/^Exit status:/ { on = 1; next } /^$/ { on = 0 } on' |
        awk -f "$here/help2roff.awk"
    cat "$3"
} >"$work/include.h2m"

# help2man runs the program it is given; this one answers with the general help less its exit
# statuses, which the page has as a section.
cat >"$work/hollenby-level" <<SCRIPT
#!/bin/sh
"$exe" --help | awk '/^Exit status:/ { skip = 1 } skip && /^\$/ { skip = 0; next } !skip'
SCRIPT
chmod +x "$work/hollenby-level"

help2man --no-info --version-string "hollenby-level $2" \
    --name "render, check, preview and exchange the levels of a tile game" \
    --include "$work/include.h2m" --output "$work/page.1" "$work/hollenby-level"
# The findings table needs tbl, which man runs when the page's first line asks for it.
{ printf "'\\\\\" t\n"; cat "$work/page.1"; } >"$4"
