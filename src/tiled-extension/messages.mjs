// How the extension speaks. In Tiled's window, warnings go to its Issues list and notes to its
// Console; refusals are thrown or returned, and Tiled shows them in a message box. Run as
// `tiled --export-map`, Tiled has no window to show them in, so they go to standard error too.

const SHOWN_LENGTH = 64;

// Text from a file as it can stand in a one-line message: quotes, backslashes and bytes that
// are not printable ASCII escaped, cut after 64 characters.
export function quoted(text) {
    let shown = "";
    for (const c of text.substring(0, SHOWN_LENGTH)) {
        const code = c.charCodeAt(0);
        if (c === "\"" || c === "\\")
            shown += "\\" + c;
        else if (code < 0x20 || (code >= 0x7f && code <= 0xff))
            shown += "\\x" + code.toString(16).padStart(2, "0");
        else
            shown += c;
    }
    return "\"" + shown + (text.length > SHOWN_LENGTH ? "…" : "") + "\"";
}

function withoutWindow() {
    return !tiled.mapEditor;
}

export function warn(text) {
    tiled.warn(text);
    if (withoutWindow())
        print(text);
}

export function note(text) {
    if (withoutWindow())
        print(text);
    else
        tiled.log(text);
}

// A refusal as the write function returns it. Tiled shows it in a message box; without a
// window, only "Failed to export" would be seen, so it is printed too.
export function refusal(text) {
    if (withoutWindow())
        print(text);
    return text;
}

// "3 lines", "1 line": a count with its noun.
export function counted(count, one, many) {
    return `${count} ${count === 1 ? one : many}`;
}

// A level's findings in the compilers' style that `hollenby-level check` and `export` use:
// FILE:LINE:COLUMN: severity: message [id]. Each kind is shown at most `limit` times.
export function reportFindings(file, findings, limit) {
    const shown = {};
    for (const finding of findings) {
        shown[finding.id] = (shown[finding.id] || 0) + 1;
        if (shown[finding.id] > limit)
            continue;
        const text = `${file}:${finding.line}:${finding.column}: ${finding.severity}: ` +
                     `${finding.message} [${finding.id}]`;
        if (finding.severity === "note")
            note(text);
        else
            warn(text);
    }
    for (const id of Object.keys(shown)) {
        if (shown[id] > limit)
            note(`${file}: note: ${shown[id] - limit} more [${id}] not shown`);
    }
}
