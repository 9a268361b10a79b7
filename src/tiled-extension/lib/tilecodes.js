// The game's 22 tile codes and the bitmap each one names, in the order of the game's table. A
// tileset built from them gives tile id n to the n-th code, as `hollenby-level export` does.

export const TILE_CODES = [
    "01", "02", "03", "04", "05", "06", "07", "08", "09", "10", "11",
    "12", "13", "14", "15", "16", "17", "18", "19", "20", "98", "99",
];

const BITMAPS = TILE_CODES.map(code =>
    code === "98" ? "bmpOBJ_WarnOpen.bmp" : code === "99" ? "bmpOBJ_WarnFunnel.bmp" : code + ".bmp");

// The index of a cell's code in the table, or -1 for any other text ("00", " 01", "1").
export function codeIndex(cell) {
    return TILE_CODES.indexOf(cell);
}

export function bitmapName(index) {
    return BITMAPS[index];
}

// Bitmap names from Windows keep whatever case they were given there: "01.BMP" is "01.bmp".
export function sameNameWithoutCase(a, b) {
    return a.length === b.length && asciiLower(a) === asciiLower(b);
}

function asciiLower(text) {
    return text.replace(/[A-Z]/g, c => String.fromCharCode(c.charCodeAt(0) + 32));
}

// The code a picture file is named after ("07.bmp" gives "07"), or "" for any other name. The
// name is matched exactly, as `import` matches it.
export function codeOfImage(path) {
    const name = path.substring(Math.max(path.lastIndexOf("/"), path.lastIndexOf("\\")) + 1);
    const index = BITMAPS.indexOf(name);
    return index < 0 ? "" : TILE_CODES[index];
}

// The colour a code without a bitmap is drawn in: a hue of its own, as the thumbnails use.
export function flatColour(index) {
    const hue = Math.floor(index * 360 / TILE_CODES.length);
    return hsvToRgb(hue, 170 / 255, 210 / 255);
}

function hsvToRgb(hue, saturation, value) {
    const chroma = value * saturation;
    const x = chroma * (1 - Math.abs((hue / 60) % 2 - 1));
    const [r, g, b] = hue < 60 ? [chroma, x, 0] : hue < 120 ? [x, chroma, 0]
        : hue < 180 ? [0, chroma, x] : hue < 240 ? [0, x, chroma]
        : hue < 300 ? [x, 0, chroma] : [chroma, 0, x];
    const m = value - chroma;
    return [r, g, b].map(c => Math.round((c + m) * 255));
}
