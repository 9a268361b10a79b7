// The game's tileset for a level opened in Tiled: an image collection with one tile per code, in
// the table's order, each carrying its code in a string property `code`. A tile's image is its
// bitmap in the resources folder, found as the editor finds it; a code whose bitmap cannot be
// used gets a flat tile in its own colour with its code written on it, so it can still be seen
// and painted.

import { TILE_CODES, bitmapName, flatColour, sameNameWithoutCase } from "./tilecodes.js";
import { folderOf, listFolder, nameOf, notAPlainFile } from "./files.js";

const TILE_SIZE = 40;

// Digits 3 x 5, one string of 15 cells per digit, read row by row.
const DIGITS = [
    "111101101101111", "010110010010111", "111001111100111", "111001111001111",
    "101101111001001", "111100111001111", "111100111101111", "111001010010010",
    "111101111101111", "111101111001111",
];
const SCALE = 4;

function flatTile(index) {
    const [r, g, b] = flatColour(index);
    const image = new Image(TILE_SIZE, TILE_SIZE, Image.Format_ARGB32);
    image.fill(0xff000000 | r << 16 | g << 8 | b);
    const ink = 0.299 * r + 0.587 * g + 0.114 * b > 140 ? 0xff000000 : 0xffffffff;
    const code = TILE_CODES[index];
    const left = (TILE_SIZE - (2 * 3 + 1) * SCALE) / 2, top = (TILE_SIZE - 5 * SCALE) / 2;
    for (let d = 0; d < code.length; ++d) {
        const glyph = DIGITS[code.charCodeAt(d) - 48];
        for (let cell = 0; cell < glyph.length; ++cell) {
            if (glyph[cell] !== "1")
                continue;
            const x = left + (d * 4 + cell % 3) * SCALE, y = top + Math.floor(cell / 3) * SCALE;
            for (let dy = 0; dy < SCALE; ++dy) {
                for (let dx = 0; dx < SCALE; ++dx)
                    image.setPixel(x + dx, y + dy, ink);
            }
        }
    }
    return image;
}

// The bitmap file of code `index` in the folder's listing: the exact name, else the one name
// that matches without regard to case (two such names: none). "" when there is none.
function findBitmap(names, index) {
    const wanted = bitmapName(index);
    if (names.indexOf(wanted) >= 0)
        return wanted;
    const matches = names.filter(name => sameNameWithoutCase(name, wanted));
    return matches.length === 1 ? matches[0] : "";
}

// Whether `folder` is a folder (a link to one included).
export function isFolder(folder) {
    return listFolder(folderOf(folder), File.Dirs).indexOf(nameOf(folder)) >= 0;
}

// Builds the tileset from `resources` (a folder path, or "" for none). `problem(index, reason)`
// hears of every bitmap that could not be used, with the reason; a missing folder is the
// caller's to report.
export function gameTileset(resources, problem) {
    const tileset = new Tileset("hollenby");
    const names = resources ? listFolder(resources, File.AllEntries | File.System) : [];
    TILE_CODES.forEach((code, index) => {
        const tile = tileset.addTile();
        tile.setProperty("code", code);
        const name = findBitmap(names, index);
        const path = name ? `${resources}/${name}` : "";
        const why = !resources ? "" : !path ? "is missing" : notAPlainFile(path);
        if (!why) {
            if (path) {
                tile.imageFileName = path;
                if (tile.width > 0)
                    return;
                problem(index, `${path} does not decode as a picture`);
                // Else a map saved from here would point at the broken file.
                tile.imageFileName = "";
            }
        } else {
            problem(index, path ? `${path} ${why}` : `${resources}/${bitmapName(index)} ${why}`);
        }
        tile.setImage(flatTile(index));
    });
    return tileset;
}
