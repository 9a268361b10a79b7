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
// [id], in file order; each kind at most SHOWN_FINDINGS times, the rest counted in a note that
// stands where the first of them would have stood.
export function reportFindings(file, findings) {
    const counts = new Map();
    const hidden = new Map();
    const shown = [];
    for (const finding of findings) {
        const count = (counts.get(finding.id) || 0) + 1;
        counts.set(finding.id, count);
        if (count <= SHOWN_FINDINGS)
            shown.push(finding);
        else if (hidden.has(finding.id))
            hidden.get(finding.id).count += 1;
        else
            hidden.set(finding.id, { line: finding.line, column: finding.column, count: 1 });
    }
    // Sorts by place, keeping the order of equals (the engine's own sort need not).
    const byPlace = list => list.map((item, order) => ({ item, order }))
        .sort((a, b) => a.item.line - b.item.line || a.item.column - b.item.column ||
                        a.order - b.order)
        .map(({ item }) => item);
    const notes = byPlace(Array.from(hidden.keys()).sort().map(id => {
        const { line, column, count } = hidden.get(id);
        const message = count === 1 ? `1 more ${id} finding not shown; it is here`
                                    : `${count} more ${id} findings not shown; the first is here`;
        return { line, column, severity: "note", message };
    }));
    const say = finding => {
        const id = finding.id ? ` [${finding.id}]` : "";
        const text = printable(`${file}:${finding.line}:${finding.column}: ` +
                               `${finding.severity}: ${finding.message}${id}`, -1);
        if (finding.severity === "note")
            note(text);
        else
            warn(text);
    };
    let next = 0;
    for (const finding of byPlace(shown)) {
        while (next < notes.length && (notes[next].line - finding.line ||
                                       notes[next].column - finding.column) < 0)
            say(notes[next++]);
        say(finding);
    }
    notes.slice(next).forEach(say);
}
