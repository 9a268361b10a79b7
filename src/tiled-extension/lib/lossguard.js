// Never lose a level by saving it: a map read with losses (lines that are not rows, cells after
// the eighth, cells that are not tile codes) may not be saved over the level it was read from,
// where those would be gone for good. Elsewhere it is saved, with a warning.

import { LOSSES_PROPERTY, READ_FROM_PROPERTY, normalPath } from "./mapproperties.js";
import { MAX_LEVEL_BYTES, readBytes } from "./files.js";

function sameBytes(a, b) {
    try {
        const first = readBytes(a, MAX_LEVEL_BYTES), second = readBytes(b, MAX_LEVEL_BYTES);
        return first.length === second.length && first.every((byte, i) => byte === second[i]);
    } catch (error) {
        return false;
    }
}

// What saving `map` as `fileName` means for the level it was read from: { refusal, warning },
// each "" when there is nothing to say. The same file is found by its path, or by its bytes
// (a link to it, or a copy that would lose the same).
export function checkOverwrite(map, fileName) {
    const losses = map.property(LOSSES_PROPERTY);
    const source = map.property(READ_FROM_PROPERTY);
    if (typeof losses !== "string" || !losses || typeof source !== "string")
        return { refusal: "", warning: "" };
    if (normalPath(fileName) === normalPath(source) || sameBytes(fileName, source))
        return {
            refusal: `${fileName}: not saved: this map was read from it with losses, and ` +
                     `saving over it would lose ${losses}. Save under another name, or remove ` +
                     `the map property "${LOSSES_PROPERTY}" to save without them.`,
            warning: "",
        };
    return {
        refusal: "",
        warning: `${fileName}: warning: saved without what ${source} holds and the map could ` +
                 `not: ${losses} [${LOSSES_PROPERTY}]`,
    };
}
