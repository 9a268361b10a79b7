// Level text as a map sees it: the rows the play window draws, eight cells each at most, and
// what of the text a map cannot hold. Pure JavaScript over the file's bytes, no Tiled API.
//
// A level is 8-bit text: lines end at CR LF only, cells are cut at ",". A line is a row when it
// has from 1 to 32 767 cells and its first cell is not empty; other lines take no place.

import { codeIndex } from "./tilecodes.mjs";
import { quoted } from "./messages.mjs";

export const COLUMNS = 8;
const MAX_ROW_CELLS = 32767;
const CR = 13, LF = 10, COMMA = 44;

// Cells written blank on purpose: the empty cell and what `import` writes for an empty map cell.
function isBlankOnPurpose(cell) {
    return cell === "" || cell === "00";
}

// The text of bytes [from, to) as 8-bit characters, one per byte. (Tiled 1.8's engine reads a
// typed array given to apply() as zeros, so a plain array carries the bytes.)
export function latin1(bytes, from, to) {
    if (to - from === 2)
        return String.fromCharCode(bytes[from], bytes[from + 1]);
    let text = "";
    for (let at = from; at < to; at += 8192) {
        const end = Math.min(to, at + 8192);
        text += String.fromCharCode.apply(null, Array.prototype.slice.call(bytes, at, end));
    }
    return text;
}

// Where byte `offset` stands as text editors count: a new line after every LF, columns in bytes.
function positionFinder(bytes) {
    let line = 1, lineStart = 0, scanned = 0;
    return offset => {
        for (; scanned < offset; ++scanned) {
            if (bytes[scanned] === LF) {
                ++line;
                lineStart = scanned + 1;
            }
        }
        return { line: line, column: offset - lineStart + 1 };
    };
}

// Scans the whole level. Returns
//   rows: each row's drawn cells (at most eight strings), in file order;
//   trailingEmptyLines: the empty lines after the last non-empty one (a final CR LF makes one);
//   findings: { line, column, severity, message, id } in file order, positions of the byte;
//   losses: { notRows, cellsAfterEighth, unknownCodes }: what the map cannot hold;
//   nulAt: the offset of the first NUL byte, or -1; hasTileCode: whether a drawn cell is a code.
// Positions are only worked out for findings, so a clean level costs one pass.
export function scanLevel(bytes) {
    const result = {
        rows: [], trailingEmptyLines: 0, findings: [], nulAt: bytes.indexOf(0),
        losses: { notRows: 0, cellsAfterEighth: 0, unknownCodes: 0 }, hasTileCode: false,
    };
    const position = positionFinder(bytes);
    const find = (offset, severity, message, id) => {
        const where = position(offset);
        result.findings.push({ line: where.line, column: where.column, severity, message, id });
    };
    const lines = splitLines(bytes);
    let end = lines.length;
    while (end > 0 && lines[end - 1].start === lines[end - 1].end)
        --end;
    result.trailingEmptyLines = lines.length - end;
    for (let i = 0; i < end; ++i)
        scanLine(bytes, lines[i].start, lines[i].end, result, find);
    return result;
}

// The lines as [start, end) byte ranges, cut at every CR LF. An empty text has none.
function splitLines(bytes) {
    const lines = [];
    if (bytes.length === 0)
        return lines;
    let start = 0;
    for (let at = bytes.indexOf(LF); at >= 0; at = bytes.indexOf(LF, at + 1)) {
        if (at - 1 >= start && bytes[at - 1] === CR) {
            lines.push({ start: start, end: at - 1 });
            start = at + 1;
        }
    }
    lines.push({ start: start, end: bytes.length });
    return lines;
}

function scanLine(bytes, start, end, result, find) {
    const notARow = message => {
        ++result.losses.notRows;
        find(start, "warning", message + ": not a row, so it cannot travel into a map",
             "not-a-row");
    };
    if (start === end)
        return notARow("blank line");
    if (bytes[start] === COMMA)
        return notARow("line starts with \",\"");
    // Cut the first eight cells; only count the rest.
    const cells = [];
    let cellStart = start, commas = 0, ninthAt = -1;
    for (let at = start; at < end; ++at) {
        if (bytes[at] !== COMMA)
            continue;
        ++commas;
        if (cells.length < COLUMNS) {
            cells.push({ start: cellStart, end: at });
            cellStart = at + 1;
            if (cells.length === COLUMNS)
                ninthAt = at + 1;
        }
    }
    if (commas + 1 > MAX_ROW_CELLS)
        return notARow(`line has more than ${MAX_ROW_CELLS} cells`);
    if (cells.length < COLUMNS)
        cells.push({ start: cellStart, end: end });
    const row = [];
    for (const cell of cells) {
        const text = latin1(bytes, cell.start, cell.end);
        row.push(text);
        if (codeIndex(text) >= 0) {
            result.hasTileCode = true;
        } else if (!isBlankOnPurpose(text)) {
            ++result.losses.unknownCodes;
            find(cell.start, "warning",
                 `${quoted(text)} is not a tile code; the map has an empty cell here`,
                 "unknown-code");
        }
    }
    if (ninthAt >= 0) {
        result.losses.cellsAfterEighth += commas + 1 - COLUMNS;
        find(ninthAt, "warning", `row has ${commas + 1} cells; the map keeps the first ${COLUMNS}`,
             "long-row");
    }
    result.rows.push(row);
}
