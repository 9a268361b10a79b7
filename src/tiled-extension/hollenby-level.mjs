// Tiled opens and saves the levels of the Hollenby tile game (.lvl) as maps, as
// `hollenby-level export` and `import` turn them into maps and back.
//
// Installed with `hollenby-level tiled-extension install` into Tiled's extensions folder; the
// other files of this folder are its parts.

import { checkOverwrite } from "./lib/lossguard.js";
import { readLevelMap } from "./lib/levelmap.js";
import { MapRefusal, levelOfMap } from "./lib/maplevel.js";
import { refusal, warn } from "./lib/messages.js";
import { writeBytes } from "./lib/files.js";

function write(map, fileName) {
    // Nothing is said or written until the whole level is known to be writable.
    const warnings = [];
    try {
        const guard = checkOverwrite(map, fileName);
        if (guard.refusal)
            return refusal(guard.refusal);
        const bytes = levelOfMap(map, text => warnings.push(text));
        const failed = writeBytes(fileName, bytes);
        if (failed)
            return refusal(failed);
        if (guard.warning)
            warnings.push(guard.warning);
    } catch (error) {
        if (error instanceof MapRefusal)
            return refusal(`${fileName}: not saved: ${error.message}`);
        return refusal(`${fileName}: not saved: ${error}`);
    }
    for (const text of warnings)
        warn(text);
    return "";
}

tiled.registerMapFormat("hollenby-level", {
    name: "Hollenby Level",
    extension: "lvl",
    read: readLevelMap,
    write: write,
});
