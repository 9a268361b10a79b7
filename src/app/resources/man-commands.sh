#!/bin/sh
# Writes help2man's include file for hollenby-level: each command's own help, read from the
# built executable so that the man page lists every command it has, then the static sections.
#   man-commands.sh EXECUTABLE STATIC.h2m OUT.h2m
set -eu
exe=$1
exec >"$3"
printf '[>COMMANDS]\n'
"$exe" --help | awk '/^Commands:/ { on = 1; next } /^$/ { on = 0 } on { print $1 }' |
while read -r command; do
    printf '.SS %s\n.nf\n' "$command"
    # roff: a backslash is written \e, and a line may not start with "." or "'".
    "$exe" help "$command" | sed -e 's/\\/\\e/g' -e "s/^\\([.']\\)/\\\\\\&\\1/"
    printf '.fi\n'
done
cat "$2"
