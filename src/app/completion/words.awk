# Reads the help of hollenby-level (the general one, or that of one command) and writes what a
# shell needs to complete its command line, one item a line, fields separated by spaces:
#   c NAME                     a command
#   o SHORT LONG KIND WORD...  an option; SHORT or LONG is "-" when it has none
#   a NAME MORE KIND WORD...   the next positional argument; MORE is 1 when it repeats (LEVEL...)
# KIND says what the value of the option or the argument is: flag (no value), dir,
# ext (files ending in one of the WORDs, and folders), words (one of the WORDs), or value
# (anything). The choices come from the name of the value (text|json), else from a description
# that ends with a list of them ("csv (default), base64 or base64-zlib.").
# Kept free of backslashes and single quotes: the completion scripts carry it in single quotes.

function kind(name,    n, list, i, out) {
    if (name ~ /[|]/) {
        n = split(name, list, /[|]/)
        for (i = 1; i <= n; i++)
            out = out " " list[i]
        return "words" out
    }
    sub(/[.][.][.]$/, "", name)
    if (name == "DIR")
        return "dir"
    if (name ~ /png$/)
        return "ext png"
    if (name ~ /^LEVEL/)
        return "ext lvl"
    if (name ~ /^MAP/)
        return "ext tmx tmj json"
    return "value"
}

# "... stored: csv (default), base64, base64-zlib or base64-zstd." gives the list.
function listed(text,    n, items, i, out) {
    if (text !~ /: [a-z0-9-]+( [(]default[)])?(, [a-z0-9-]+( [(]default[)])?)* or [a-z0-9-]+( [(]default[)])?[.]$/)
        return ""
    sub(/.*: /, "", text)
    sub(/[.]$/, "", text)
    gsub(/ [(]default[)]/, "", text)
    gsub(/,? or /, ", ", text)
    n = split(text, items, /, /)
    for (i = 1; i <= n; i++)
        out = out " " items[i]
    return "words" out
}

function finish(    k) {
    if (pending == "")
        return
    k = pendingKind
    if (k == "value" && listed(pendingText) != "")
        k = listed(pendingText)
    print pending " " k
    pending = ""
}

/^[A-Z][^ ].*:$/ { finish(); section = $0; next }
/^$/ { finish(); section = ""; next }

section == "Commands:" && /^  [^ ]/ { print "c " $1; next }

section == "Options:" && /^  -/ {
    finish()
    line = substr($0, 3)
    text = line
    sub(/^[^ ]+(, [^ ]+)?( <[^>]*>)?  */, "", text)
    short = "-"
    long = "-"
    value = ""
    if (match(line, /^-[^-, ]/))
        short = substr(line, 1, 2)
    if (match(line, /--[^ ,<]+/))
        long = substr(line, RSTART, RLENGTH)
    if (match(line, /^[^ ]+(, [^ ]+)? <[^>]*>/)) {
        value = substr(line, 1, RLENGTH)
        sub(/.*</, "", value)
        sub(/>$/, "", value)
    }
    pending = "o " short " " long
    pendingKind = value == "" ? "flag" : kind(value)
    pendingText = text
    next
}

section == "Arguments:" && /^  [^ ]/ {
    finish()
    pending = "a " $1 " " ($1 ~ /[.][.][.]$/ ? 1 : 0)
    pendingKind = kind($1)
    pendingText = ""
    next
}

/^     / && pending != "" {
    line = $0
    sub(/^ +/, "", line)
    pendingText = pendingText " " line
    next
}

END { finish() }
