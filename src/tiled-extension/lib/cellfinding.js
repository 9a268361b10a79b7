// What a drawn cell that is no tile code says, in the voice `check` and `export` share: a blank
// slot written on purpose is no finding, a code written loosely or mistyped is.

import { TILE_CODES, codeIndex } from "./tilecodes.js";
import { quoted } from "./messages.js";

const LOOK_ALIKES = [["lIi|!", "1"], ["OoQD", "0"], ["Ss", "5"], ["B", "8"], ["Zz", "2"],
                     ["G", "6"], ["gq", "9"]];

// The two ways of writing a blank slot on purpose: an empty cell ("01,,03"), and "00", which
// import writes for an empty map cell.
export function isBlankOnPurpose(cell) {
    return cell === "" || cell === "00";
}

// The code a typing slip most likely meant: the cell read with look-alike characters ("0l",
// "O1", "9B"), else the one code that differs from it in a single character; "" when there is
// no such code or several.
function nearestCode(cell) {
    if (cell.length > 2)
        return "";
    let readAs = Array.from(cell, c => {
        const alike = LOOK_ALIKES.find(([shapes]) => shapes.includes(c));
        return alike ? alike[1] : c;
    }).join("");
    if (readAs.length === 1)
        readAs = "0" + readAs;
    if (readAs !== cell && codeIndex(readAs) >= 0)
        return readAs;
    const near = TILE_CODES.filter(code => cell.length === code.length &&
                                           (cell[0] !== code[0]) + (cell[1] !== code[1]) === 1);
    return near.length === 1 ? near[0] : "";
}

// Nothing (null) for a tile code or a blank slot written on purpose; else { id, message, at }:
// a code with a space or tab in its cell ("whitespace"), or any other text ("unknown-code"),
// `at` counting bytes into the cell. `cell` holds the cell's first 65 bytes at most.
export function findingOfCell(cell, length) {
    if (codeIndex(cell) >= 0 || isBlankOnPurpose(cell))
        return null;
    const compact = length <= 8 ? cell.replace(/[ \t]/g, "") : "";
    if (compact.length !== length && codeIndex(compact) >= 0)
        return {
            id: "whitespace",
            message: `${quoted(cell)} has a space or tab; cells are not trimmed, so it is a ` +
                     `blank slot, not ${compact}`,
            at: cell.search(/[ \t]/),
        };
    const near = length <= 2 ? nearestCode(cell) : "";
    return {
        id: "unknown-code",
        message: `${quoted(cell)} is not a tile code, so it is a blank slot` +
                 (near ? ` (did you mean ${near}?)` : ""),
        at: 0,
    };
}
