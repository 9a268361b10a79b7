// How the extension speaks, in the words of `hollenby-level`. In Tiled's window, warnings go to
// its Issues list and notes to its Console; refusals are thrown or returned, and Tiled shows
// them in a message box. Run as `tiled --export-map`, Tiled has no window to show them in, so
// they go to standard error too.

// The most characters a name, code or cell shows in a message, "…" included.
const SHOWN_CHARACTERS = 64;
// Each kind of finding is shown at most this often; the rest are counted in a note.
const SHOWN_FINDINGS = 100;

// Format characters (a right-to-left override, a zero-width space, ...): shown as themselves,
// they would change how the rest of a message reads.
const FORMAT_CHARACTERS = [
    [0xad, 0xad], [0x600, 0x605], [0x61c, 0x61c], [0x6dd, 0x6dd], [0x70f, 0x70f],
    [0x890, 0x891], [0x8e2, 0x8e2], [0x180e, 0x180e], [0x200b, 0x200f], [0x202a, 0x202e],
    [0x2060, 0x2064], [0x2066, 0x206f], [0xfeff, 0xfeff], [0xfff9, 0xfffb], [0x110bd, 0x110bd],
    [0x110cd, 0x110cd], [0x13430, 0x13438], [0x1bca0, 0x1bca3], [0x1d173, 0x1d17a],
    [0xe0001, 0xe0001], [0xe0020, 0xe007f],
];

function shownAsItself(c) {
    if (c < 0x20 || (c >= 0x7f && c <= 0x9f) || c === 0x2028 || c === 0x2029)
        return false;
    if (c >= 0xd800 && c <= 0xdfff)
        return false;
    return !FORMAT_CHARACTERS.some(([first, last]) => c >= first && c <= last);
}

function escaped(c) {
    const hex = c.toString(16);
    return c <= 0xff ? "\\x" + hex.padStart(2, "0") : "\\u{" + hex.padStart(4, "0") + "}";
}

// Text taken from a file, safe in a one-line message: control and format characters written as
// escapes ("\x1b", "\u{202e}"), cut to `limit` characters with "…" as the last. A negative
// limit never cuts.
export function printable(text, limit = SHOWN_CHARACTERS) {
    let shown = "";
    const characters = Array.from(text);
    for (let i = 0; i < characters.length; ++i) {
        const c = characters[i].codePointAt(0);
        const piece = shownAsItself(c) ? characters[i] : escaped(c);
        const last = i + 1 === characters.length;
        if (limit >= 0 && shown.length + piece.length + (last ? 0 : 1) > limit)
            return shown + "…";
        shown += piece;
    }
    return shown;
}

export function quoted(text) {
    return "\"" + printable(text) + "\"";
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

// A level's findings as `check` and `export` print them, FILE:LINE:COLUMN: severity: message
// [id], in file order; each kind at most SHOWN_FINDINGS times, the rest counted in a note.
export function reportFindings(file, findings) {
    const counts = new Map();
    const shown = findings.filter(finding => {
        counts.set(finding.id, (counts.get(finding.id) || 0) + 1);
        return counts.get(finding.id) <= SHOWN_FINDINGS;
    });
    for (const id of Array.from(counts.keys()).sort()) {
        const count = counts.get(id);
        if (count > SHOWN_FINDINGS)
            shown.push({ line: 1, column: 1, severity: "note", id,
                         message: `${count - SHOWN_FINDINGS} more [${id}] findings not shown` });
    }
    // A stable sort: the counting notes go after whatever else stands at 1:1.
    shown.map((finding, order) => ({ finding, order }))
        .sort((a, b) => a.finding.line - b.finding.line || a.finding.column - b.finding.column ||
                        a.order - b.order)
        .forEach(({ finding }) => {
            const text = printable(`${file}:${finding.line}:${finding.column}: ` +
                                   `${finding.severity}: ${finding.message} [${finding.id}]`, -1);
            if (finding.severity === "note")
                note(text);
            else
                warn(text);
        });
}
