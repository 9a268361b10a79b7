// Level text as a map sees it: the rows the play window draws, eight cells each at most, and
// what of the text a map cannot hold. Pure JavaScript over the file's bytes, no Tiled API.
//
// A level is 8-bit text: lines end at CR LF only, cells are cut at ",". A line is a row when it
// has from 1 to 32 767 cells and its first cell is not empty; other lines take no place.

import { TILE_CODES } from "./tilecodes.js";
import { findingOfCell } from "./cellfinding.js";

export const COLUMNS = 8;
// The most cells a map of a level may have: what import reads at most.
export const MAX_CELLS = 4194304;
const MAX_ROW_CELLS = 32767;
const CR = 13, LF = 10, COMMA = 44, ZERO = 48;
// A cell's first bytes are enough for any message about it, which shows 64 characters at most.
const QUOTED_BYTES = 65;

// Tile index by a two-byte cell's bytes (first * 256 + second); -1 for any other pair.
const CODE_OF_PAIR = new Int8Array(65536).fill(-1);
TILE_CODES.forEach((code, index) => {
    CODE_OF_PAIR[code.charCodeAt(0) * 256 + code.charCodeAt(1)] = index;
});

// The text of bytes [from, to) as 8-bit characters, one per byte. (Tiled 1.8's engine reads a
// typed array given to apply() as zeros, so a plain array carries the bytes.)
export function latin1(bytes, from, to) {
    let text = "";
    for (let at = from; at < to; at += 8192) {
        const end = Math.min(to, at + 8192);
        text += String.fromCharCode.apply(null, Array.prototype.slice.call(bytes, at, end));
    }
    return text;
}

// Where byte `offset` stands as text editors count: a new line after every LF, columns in bytes.
// Asked for offsets in rising order, it reads the text once.
function positionFinder(bytes) {
    let line = 1, lineStart = 0, scanned = 0;
    return offset => {
        for (let lf = bytes.indexOf(LF, scanned); lf >= 0 && lf < offset;
             lf = bytes.indexOf(LF, lf + 1)) {
            ++line;
            lineStart = lf + 1;
        }
        scanned = Math.max(scanned, offset);
        return { line: line, column: offset - lineStart + 1 };
    };
}

// The empty lines that end the text: the pieces after its last CR LF, and before it, that hold
// nothing. Returns the count and where the lines before them end.
function trailingEmptyLines(bytes) {
    let end = bytes.length, count = 0;
    while (end >= 2 && bytes[end - 2] === CR && bytes[end - 1] === LF) {
        end -= 2;
        ++count;
    }
    return { count, end };
}

// Scans the whole level. Returns
//   rowCount, and tiles: eight tile indexes a row (-1 for a blank or unknown cell), row by row,
//     for as many rows as a map may hold;
//   trailingEmptyLines: the empty lines after the last non-empty one (a final CR LF makes one);
//   findings: { line, column, severity, message, id } in file order;
//   losses: { notRows, cellsAfterEighth, unknownCodes }: what the map cannot hold;
//   nulAt: the offset of the first NUL byte, or -1; hasTileCode: whether a drawn cell is a code.
export function scanLevel(bytes) {
    const trailing = trailingEmptyLines(bytes);
    let lineCount = 1;
    for (let lf = bytes.indexOf(LF); lf >= 0; lf = bytes.indexOf(LF, lf + 1))
        ++lineCount;
    const scan = {
        // Rows past what a map may hold are counted, not kept: the level is refused then.
        rowCount: 0, tiles: new Int8Array(Math.min(lineCount * COLUMNS, MAX_CELLS)).fill(-1),
        trailingEmptyLines: trailing.count, findings: [], nulAt: bytes.indexOf(0),
        losses: { notRows: 0, cellsAfterEighth: 0, unknownCodes: 0 }, hasTileCode: false,
    };
    const position = positionFinder(bytes);
    const walk = {
        bytes, scan, nextComma: -1, blankRun: null,
        find: (offset, severity, message, id) => {
            const where = position(offset);
            scan.findings.push({ line: where.line, column: where.column, severity, message, id });
        },
    };
    if (trailing.end > 0) {
        let start = 0;
        for (let lf = bytes.indexOf(LF, 1); lf >= 0 && lf < trailing.end;
             lf = bytes.indexOf(LF, lf + 1)) {
            if (bytes[lf - 1] === CR && lf - 1 >= start) {
                scanLine(walk, start, lf - 1);
                start = lf + 1;
            }
        }
        scanLine(walk, start, trailing.end);
    }
    return scan;
}

// The next "," at or after `at`, remembered so that a long stretch without one is read once.
function commaFrom(walk, at) {
    if (walk.nextComma < at) {
        const found = walk.bytes.indexOf(COMMA, at);
        walk.nextComma = found < 0 ? Infinity : found;
    }
    return walk.nextComma;
}

function scanLine(walk, start, end) {
    const { bytes, scan } = walk;
    const notARow = (id, message) => {
        ++scan.losses.notRows;
        walk.find(start, "warning", message, id);
    };
    // A run of blank lines is one finding, at its first line.
    if (start === end) {
        ++scan.losses.notRows;
        if (walk.blankRun)
            ++walk.blankRun.count;
        else
            walk.blankRun = { start, count: 1 };
        return;
    }
    if (walk.blankRun) {
        const run = walk.blankRun.count;
        walk.find(walk.blankRun.start, "warning", run === 1
            ? "blank line: not a row, so it cannot travel into a map"
            : `${run} blank lines: not rows, so they cannot travel into a map`, "blank-line");
        walk.blankRun = null;
    }
    if (bytes[start] === COMMA)
        return notARow("not-a-row", "line starts with \",\": not a row, so it cannot travel " +
                                    "into a map");
    const cellStarts = [start];
    let commas = 0;
    for (let at = commaFrom(walk, start); at < end; at = commaFrom(walk, at + 1)) {
        if (++commas <= COLUMNS)
            cellStarts.push(at + 1);
        if (commas >= MAX_ROW_CELLS)
            return notARow("not-a-row", `line has more than ${MAX_ROW_CELLS} cells: not a row, ` +
                                        "so it cannot travel into a map");
    }
    const row = scan.rowCount++;
    const cells = commas + 1;
    if ((row + 1) * COLUMNS > scan.tiles.length)
        return;
    for (let column = 0; column < Math.min(cells, COLUMNS); ++column) {
        const from = cellStarts[column];
        const to = column + 1 < cellStarts.length ? cellStarts[column + 1] - 1 : end;
        scanCell(walk, from, to, row * COLUMNS + column);
    }
    if (cells > COLUMNS) {
        scan.losses.cellsAfterEighth += cells - COLUMNS;
        walk.find(cellStarts[COLUMNS], "warning",
                  `row has ${cells} cells; the map keeps the first ${COLUMNS}`, "long-row");
    } else if (cells < COLUMNS) {
        walk.find(end, "note", `row has ${cells} cells; the map's other ${COLUMNS - cells} are ` +
                               "empty and come back as blank cells", "short-row");
    }
}

function scanCell(walk, from, to, slot) {
    const { bytes, scan } = walk;
    if (to - from === 2) {
        const index = CODE_OF_PAIR[bytes[from] * 256 + bytes[from + 1]];
        if (index >= 0) {
            scan.tiles[slot] = index;
            scan.hasTileCode = true;
            return;
        }
        if (bytes[from] === ZERO && bytes[from + 1] === ZERO)
            return;
    }
    const finding = findingOfCell(latin1(bytes, from, Math.min(to, from + QUOTED_BYTES)), to - from);
    if (!finding)
        return;
    ++scan.losses.unknownCodes;
    walk.find(from + finding.at, "warning", finding.message + "; the map has an empty cell here",
              finding.id);
}
