# Turns the help text of one hollenby-level command into the body of a man page section, so that
# the page is filled to the reader's width instead of keeping the help's own line breaks:
#   Usage: ...                       a paragraph naming the command in bold
#   Heading:                         a bold heading over the list that follows
#     TERM  Description              an indented item; lines indented further continue it
#     TERM  SECOND  Description      a row of a table (the page must go through tbl)
#   anything else                    running text, a blank line ending a paragraph
# Options and other words in a term are set in bold, values and arguments (LEVEL) in italics.

function text(s) {
    gsub(/\\/, "\\e", s)
    return s
}

function option(s) {
    s = text(s)
    gsub(/-/, "\\-", s)
    return s
}

function term(t,    n, parts, i, p, value, out) {
    if (t ~ /^[A-Z]/)
        return "\\fI" text(t) "\\fR"
    if (t !~ /^-/)
        return "\\fB" text(t) "\\fR"
    n = split(t, parts, /, /)
    for (i = 1; i <= n; i++) {
        p = parts[i]
        value = ""
        if (match(p, / <[^>]*>$/)) {
            value = " \\fI" text(substr(p, RSTART + 2, RLENGTH - 3)) "\\fR"
            p = substr(p, 1, RSTART - 1)
        }
        out = out (i > 1 ? ", " : "") "\\fB" option(p) "\\fR" value
    }
    return out
}

# roff reads a line starting with "." or "'" as a request.
function emit(s) {
    if (s ~ /^[.']/)
        s = "\\&" s
    print s
}

function endTable() {
    if (inTable)
        print "T}\n.TE"
    inTable = 0
}

function flush() {
    endTable()
    paragraph = 0
}

NR == 1 && sub(/^Usage: /, "") {
    split($0, words, / /)
    command = words[1] " " words[2]
    print ".PP"
    emit("\\fB" option(command) "\\fR" option(substr($0, length(command) + 1)))
    next
}

/^$/ { flush(); next }

/^[A-Z][^ ].*:$/ {
    flush()
    print ".PP"
    emit("\\fB" text($0) "\\fR")
    next
}

/^  [^ ]/ {
    line = substr($0, 3)
    n = split(line, cells, /  +/)
    if (n >= 3) {
        if (!inTable)
            print ".TS\nlB l lx."
        else
            print "T}"
        inTable = 1
        printf "%s\t%s\tT{\n", text(cells[1]), text(cells[2])
        emit(text(cells[3]))
        next
    }
    endTable()
    print ".TP"
    emit(term(cells[1]))
    if (n == 2)
        emit(text(cells[2]))
    next
}

/^    / {
    sub(/^ +/, "")
    emit(text($0))
    next
}

{
    if (!paragraph)
        print ".PP"
    paragraph = 1
    emit(text($0))
}

END { endTable() }
