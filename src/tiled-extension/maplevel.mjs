// Writing: the level a map's tile layer holds, as `hollenby-level import` writes it. One line per
// map row, its cells' codes joined by ",", the lines joined by CR LF, then as many CR LF as the
// map's `trailing-empty-lines` says. A map that cannot become a level throws a MapRefusal.

import { COLUMNS } from "./levelscan.mjs";
import { MAX_CELLS } from "./levelmap.mjs";
import { TRAILING_PROPERTY } from "./mapproperties.mjs";
import { codeIndex, codeOfImage } from "./tilecodes.mjs";
import { counted, quoted } from "./messages.mjs";

export class MapRefusal extends Error {}

function refuse(reason) {
    throw new MapRefusal(reason);
}

// The most empty lines written after the last row: the editor scrolls through 32 768 lines.
const MAX_TRAILING = 32768;
// A flipped or turned cell; Tiled's fourth bit, the hexagonal turn, is dropped unsaid.
const TURN_FLAGS = 1 | 2 | 4;
const ORIENTATIONS = ["unknown", "orthogonal", "isometric", "staggered", "hexagonal"];

function tileLayers(layers, found) {
    for (const layer of layers) {
        if (layer.isTileLayer)
            found.push(layer);
        else if (layer.isGroupLayer)
            tileLayers(layer.layers, found);
    }
    return found;
}

function layerList(layers) {
    return layers.map(layer => quoted(layer.name) + (layer.visible ? "" : " (hidden)")).join(", ");
}

// The layer named "level", else the only tile layer, groups searched too.
export function chooseLayer(map) {
    const layers = tileLayers(map.layers, []);
    const named = layers.filter(layer => layer.name === "level");
    if (named.length === 1)
        return named[0];
    if (named.length > 1)
        refuse(`${named.length} tile layers are named "level"; rename all but one in Tiled`);
    if (layers.length === 1)
        return layers[0];
    if (layers.length === 0)
        refuse("the map has no tile layer");
    refuse(`the map has ${layers.length} tile layers and none named "level": ` +
           `${layerList(layers)}; name the one to save "level"`);
}

// The layer's cells to write: the map's own area, grown on an infinite map to every painted cell.
function cellArea(map, layer) {
    let left = 0, top = 0, right = map.width, bottom = map.height;
    if (map.infinite) {
        const painted = layer.region().boundingRect;
        if (painted.width > 0 && painted.height > 0) {
            left = Math.min(left, painted.x);
            top = Math.min(top, painted.y);
            right = Math.max(right, painted.x + painted.width);
            bottom = Math.max(bottom, painted.y + painted.height);
        }
    } else {
        right = layer.width;
        bottom = layer.height;
    }
    const width = right - left, height = bottom - top;
    if (width * height > MAX_CELLS)
        refuse(`layer ${quoted(layer.name)} is ${width} x ${height} tiles; a level is made of ` +
               `at most ${MAX_CELLS} cells`);
    if (width === 0 && height > 0)
        refuse(`layer ${quoted(layer.name)} is 0 tiles wide`);
    if (width > COLUMNS)
        refuse(`layer ${quoted(layer.name)} is ${width} tiles wide; a level row draws ${COLUMNS}`);
    return { left, top, width, height };
}

function propertyType(value) {
    if (typeof value === "number")
        return Number.isInteger(value) ? "int" : "float";
    if (typeof value === "boolean")
        return "bool";
    if (value && value.url !== undefined)
        return "file";
    if (value && value.id !== undefined)
        return "object";
    return typeof value === "object" ? "color" : typeof value;
}

// A code cannot hold what would split or end a row, nor what no level text holds.
function isCellText(code) {
    return code.length > 0 && !/[\x00-\x20\x7f,]|[^\x00-\xff]/.test(code);
}

// Finds each tile's code once, however many cells show it. `warn` hears of codes the game does
// not know, which are written all the same.
class CodeTable {
    constructor(warn) {
        this.codes = new Map();
        this.warn = warn;
    }

    codeOf(tile) {
        let known = this.codes.get(tile);
        if (known === undefined) {
            known = this.find(tile);
            this.codes.set(tile, known);
        }
        return known;
    }

    find(tile) {
        const where = `tile ${tile.id} of tileset ${quoted(tile.tileset.name)}`;
        const value = tile.property("code");
        if (value === undefined) {
            const code = codeOfImage(tile.imageFileName);
            if (!code)
                refuse(`${where} has no code property, nor an image named after a game bitmap`);
            return code;
        }
        if (typeof value !== "string")
            refuse(`${where} has a code property of type ${propertyType(value)}; make it a ` +
                   "string property, e.g. \"01\"");
        if (!isCellText(value))
            refuse(`${where} has the code ${quoted(value)}, which cannot be a level cell; make ` +
                   "it a string property, e.g. \"01\"");
        if (codeIndex(value) < 0 && value !== "00")
            this.warn(`${where} has the code ${quoted(value)}, which is not a tile code; the ` +
                      "level shows a blank slot there [unknown-code]");
        return value;
    }
}

function trailingEmptyLines(map) {
    const value = map.property(TRAILING_PROPERTY);
    if (value === undefined)
        return 0;
    if (typeof value !== "number" || !Number.isInteger(value) || value < 0 || value > MAX_TRAILING)
        refuse(`the map property "${TRAILING_PROPERTY}" is ${quoted(String(value))}; it must be ` +
               `a whole number from 0 to ${MAX_TRAILING}`);
    return value;
}

function latin1Bytes(text) {
    const bytes = new Uint8Array(text.length);
    for (let i = 0; i < text.length; ++i)
        bytes[i] = text.charCodeAt(i);
    return bytes;
}

// The level's bytes. `warn` hears of what is written all the same but worth knowing.
export function levelOfMap(map, warn) {
    if (map.orientation !== TileMap.Orthogonal)
        refuse(`the map is ${ORIENTATIONS[map.orientation] || "not orthogonal"}; only an ` +
               "orthogonal map's rows are a level's rows");
    const trailing = trailingEmptyLines(map);
    const layer = chooseLayer(map);
    const area = cellArea(map, layer);
    const codes = new CodeTable(warn);
    const lines = [];
    let turned = 0;
    for (let y = area.top; y < area.top + area.height; ++y) {
        const cells = [];
        for (let x = area.left; x < area.left + area.width; ++x) {
            const tile = layer.tileAt(x, y);
            cells.push(tile ? codes.codeOf(tile) : "00");
            if (tile && (layer.flagsAt(x, y) & TURN_FLAGS) !== 0)
                ++turned;
        }
        lines.push(cells.join(","));
    }
    if (turned > 0)
        warn(`layer ${quoted(layer.name)}: ${counted(turned, "cell is", "cells are")} flipped ` +
             "or rotated, which a level cannot show; the tiles are kept unturned [turned-tiles]");
    return latin1Bytes(lines.join("\r\n") + "\r\n".repeat(trailing));
}
