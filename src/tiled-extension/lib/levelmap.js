// Reading: a level file as the map `hollenby-level export` makes of it. Eight columns of 40 x 40
// tiles, one map row per row the play window draws, a tile layer named "level", the game's
// tileset, and map properties for what the level text holds beyond its cells.

import { COLUMNS, MAX_CELLS, scanLevel } from "./levelscan.js";
import { MAX_LEVEL_BYTES, folderOf, readBytes } from "./files.js";
import { TILE_CODES } from "./tilecodes.js";
import { counted, reportFindings, warn } from "./messages.js";
import { gameTileset, isFolder } from "./gametileset.js";
import { LOSSES_PROPERTY, MAX_TRAILING_EMPTY_LINES, READ_FROM_PROPERTY, TRAILING_PROPERTY,
         normalPath } from "./mapproperties.js";

// What the map cannot hold, in words: "3 lines that are not rows, 2 cells after the eighth".
export function lossText(losses) {
    const parts = [];
    if (losses.notRows > 0)
        parts.push(counted(losses.notRows, "line that is not a row", "lines that are not rows"));
    if (losses.cellsAfterEighth > 0)
        parts.push(counted(losses.cellsAfterEighth, "cell after the eighth",
                           "cells after the eighth"));
    if (losses.unknownCodes > 0)
        parts.push(counted(losses.unknownCodes, "cell that is not a tile code",
                           "cells that are not tile codes"));
    return parts.join(", ");
}

// What export refuses, refused in its words and its order.
function refuseUnlessLevel(fileName, bytes, scan) {
    if (scan.nulAt >= 0) {
        const before = bytes.subarray(0, scan.nulAt);
        const line = before.filter(b => b === 10).length + 1;
        const column = scan.nulAt - before.lastIndexOf(10);
        throw new Error(`${fileName}: not a level but a binary file (a NUL byte at line ${line}, ` +
                        `column ${column})`);
    }
    const cells = scan.rowCount * COLUMNS;
    if (cells > MAX_CELLS)
        throw new Error(`${fileName}: ${scan.rowCount} rows make a map of ${cells} cells; ` +
                        `import reads at most ${MAX_CELLS}, so a map may hold no more`);
    if (scan.trailingEmptyLines > MAX_TRAILING_EMPTY_LINES)
        throw new Error(`${fileName}: the level ends in ${scan.trailingEmptyLines} empty lines; ` +
                        `a map may record at most ${MAX_TRAILING_EMPTY_LINES}`);
    if (!scan.hasTileCode)
        throw new Error(`${fileName}: not a level: none of its drawn cells is a tile code`);
}

function tilesetFor(fileName, scan) {
    const folder = folderOf(fileName);
    const resources = folder === "." ? "_resources" : folder + "/_resources";
    const found = isFolder(resources);
    if (!found)
        warn(`${fileName}: warning: no _resources folder beside the level; flat tiles stand in ` +
             "for the bitmaps [missing-resources]");
    const used = new Set(scan.tiles);
    return gameTileset(found ? resources : "", (index, reason) => {
        if (used.has(index))
            warn(`${fileName}: warning: code ${TILE_CODES[index]}: ${reason}; a flat tile ` +
                 "stands in for it [missing-bitmap]");
    });
}

// The map of the level in `fileName`. Throws an Error with a one-line reason when the file is
// not a level or cannot be read.
export function readLevelMap(fileName) {
    const bytes = readBytes(fileName, MAX_LEVEL_BYTES);
    const scan = scanLevel(bytes);
    refuseUnlessLevel(fileName, bytes, scan);
    reportFindings(fileName, scan.findings);

    const map = new TileMap();
    map.orientation = TileMap.Orthogonal;
    map.setSize(COLUMNS, scan.rowCount);
    map.setTileSize(40, 40);
    const tileset = tilesetFor(fileName, scan);
    map.addTileset(tileset);
    const tiles = tileset.tiles;
    const layer = new TileLayer("level");
    layer.resize(Qt.size(COLUMNS, scan.rowCount));
    const edit = layer.edit();
    for (let slot = 0; slot < scan.rowCount * COLUMNS; ++slot) {
        if (scan.tiles[slot] >= 0)
            edit.setTile(slot % COLUMNS, Math.floor(slot / COLUMNS), tiles[scan.tiles[slot]]);
    }
    edit.apply();
    map.addLayer(layer);

    map.setProperty(TRAILING_PROPERTY, scan.trailingEmptyLines);
    const losses = lossText(scan.losses);
    if (losses) {
        map.setProperty(LOSSES_PROPERTY, losses);
        map.setProperty(READ_FROM_PROPERTY, normalPath(fileName));
    }
    return map;
}
