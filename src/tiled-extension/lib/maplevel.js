// Writing: the level a map's tile layer holds, as `hollenby-level import` writes it. One line per
// map row, its cells' codes joined by ",", the lines joined by CR LF, then as many CR LF as the
// map's `trailing-empty-lines` says. A map that cannot become a level throws a MapRefusal in
// import's words.

import { COLUMNS, MAX_CELLS } from "./levelscan.js";
import { MAX_TRAILING_EMPTY_LINES, TRAILING_PROPERTY } from "./mapproperties.js";
import { codeIndex, codeOfImage } from "./tilecodes.js";
import { isBlankOnPurpose } from "./cellfinding.js";
import { printable, quoted } from "./messages.js";

export class MapRefusal extends Error {}

function refuse(reason) {
    throw new MapRefusal(reason);
}

// A flipped or turned cell; Tiled's fourth bit, the hexagonal turn, is dropped unsaid.
const TURN_FLAGS = 1 | 2 | 4;
const ORIENTATIONS = ["unknown", "orthogonal", "isometric", "staggered", "hexagonal"];
const CODE_FIX = "make it a string property, e.g. \"01\"";

function tileLayers(layers, found) {
    for (const layer of layers) {
        if (layer.isTileLayer)
            found.push(layer);
        else if (layer.isGroupLayer)
            tileLayers(layer.layers, found);
    }
    return found;
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
    const list = layers.map(layer => quoted(layer.name) + (layer.visible ? "" : " (hidden)"));
    refuse(`the map has ${layers.length} tile layers and none named "level": ` +
           `${list.join(", ")}; name the one to save "level"`);
}

// The painted columns of the area: the first and last that hold a tile, or -1 and -1.
function paintedColumns(layer, area) {
    let first = -1, last = -1;
    for (let y = area.top; y < area.top + area.height; ++y) {
        for (let x = area.left; x < area.left + area.width; ++x) {
            if (layer.tileAt(x, y)) {
                first = first < 0 ? x - area.left : Math.min(first, x - area.left);
                last = Math.max(last, x - area.left);
            }
        }
    }
    return { first, last };
}

function tooWide(layer, area) {
    const wide = `layer ${quoted(layer.name)} is ${area.width} tiles wide; a level row draws ` +
                 `${COLUMNS}`;
    const { first, last } = paintedColumns(layer, area);
    const resize = `Map > Resize Map to ${COLUMNS} tiles wide`;
    if (first < 0)
        return `${wide}, and the layer holds no tiles (${resize})`;
    const where = `; its tiles are in columns ${first} to ${last} (x in Tiled)`;
    if (last - first >= COLUMNS)
        return `${wide}${where}, more than a row holds`;
    return `${wide}${where}: ${resize}, offset ${-Math.min(first, area.width - COLUMNS)}, ` +
           "takes them";
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
    const area = { left, top, width: right - left, height: bottom - top };
    if (area.width * area.height > MAX_CELLS)
        refuse(map.infinite
            ? `the infinite layer ${quoted(layer.name)} spans ${area.width} x ${area.height} ` +
              `tiles; an import reads at most ${MAX_CELLS} cells`
            : `layer ${quoted(layer.name)} is ${area.width} x ${area.height} tiles; an import ` +
              `reads at most ${MAX_CELLS} cells in all`);
    if (area.width === 0 && area.height > 0)
        refuse(`layer ${quoted(layer.name)} is 0 tiles wide`);
    if (area.width > COLUMNS)
        refuse(tooWide(layer, area));
    return area;
}

// A property's type by the value Tiled gives a script; an int and a float of whole value look
// alike there, so the second passes for an int.
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

// Why `code` cannot stand in a level cell ("has a space"), or "" when it can: 8-bit text, not
// empty, without a space, a comma, a line break or any other control character.
function cellTextProblem(code) {
    if (code === "")
        return "is empty";
    for (const c of code.split("")) {
        const u = c.charCodeAt(0);
        if (u === 0)
            return "has a NUL";
        if (c === " ")
            return "has a space";
        if (c === ",")
            return "has a comma";
        if (c === "\r" || c === "\n")
            return "has a line break";
        if (u < 0x20 || (u >= 0x7f && u <= 0x9f))
            return `has a control character (${printable(c)})`;
        if (u > 0xff)
            return `has ${quoted(c)}, which 8-bit level text cannot hold`;
    }
    return "";
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
            const fromImage = codeOfImage(tile.imageFileName);
            if (!fromImage)
                refuse(`${where} has no code property, nor an image named after a game bitmap`);
            return fromImage;
        }
        if (typeof value !== "string")
            refuse(`${where}: its code property is of type ${propertyType(value)}; ${CODE_FIX}`);
        const problem = cellTextProblem(value);
        if (problem)
            refuse(`${where}: its code ${quoted(value)} ${problem}, which a level cell cannot ` +
                   "hold; give it a tile code, e.g. \"01\"");
        if (codeIndex(value) < 0 && !isBlankOnPurpose(value))
            this.warn(`${where} has the code ${quoted(value)}, which is not a tile code, so its ` +
                      "cells are blank slots [unknown-code]");
        return value;
    }
}

function trailingEmptyLines(map) {
    const value = map.property(TRAILING_PROPERTY);
    if (value === undefined)
        return 0;
    const type = propertyType(value);
    if (type !== "int" || value < 0 || value > MAX_TRAILING_EMPTY_LINES)
        refuse(`the map property "${TRAILING_PROPERTY}" is the ${type} ${quoted(String(value))}; ` +
               `it must be an int from 0 to ${MAX_TRAILING_EMPTY_LINES}`);
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
        refuse(`the map is ${ORIENTATIONS[map.orientation] || "unknown"}; only an orthogonal ` +
               "map's rows are a level's rows");
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
        warn(`layer ${quoted(layer.name)}: ${turned === 1 ? "1 cell is" : `${turned} cells are`} ` +
             "flipped or rotated, which a level cannot show; the tiles are kept unturned " +
             "[turned-tiles]");
    return latin1Bytes(lines.join("\r\n") + "\r\n".repeat(trailing));
}
