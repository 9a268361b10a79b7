#!/bin/sh
# Stands in for the editor when help2man asks for its help: the editor reads no command line,
# so its help text is kept beside this script.
cat "$(dirname "$0")/hollenby-level-editor.help"
