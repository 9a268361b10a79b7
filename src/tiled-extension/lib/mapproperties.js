// The map properties a level's map carries beyond its cells. Tiled keeps them in the map, so
// they survive painting and saving the map in Tiled's own formats.

// How many empty lines end the level after its last non-empty line (a final CR LF makes one).
export const TRAILING_PROPERTY = "trailing-empty-lines";
// The most it may say: as many as a map of a level may have cells.
export const MAX_TRAILING_EMPTY_LINES = 4194304;
// Set only when reading lost something: what the map could not hold, in words, and the level
// file it was read from. Saving over that file would lose it for good.
export const LOSSES_PROPERTY = "read-with-losses";
export const READ_FROM_PROPERTY = "read-from";

// `path` with "." and ".." steps and doubled slashes taken out, so that two spellings of one
// path compare equal. Links are not followed: Tiled 1.8 cannot read them.
export function normalPath(path) {
    const absolute = path.startsWith("/");
    const steps = [];
    for (const step of path.split("/")) {
        if (step === "" || step === ".")
            continue;
        if (step === ".." && steps.length > 0 && steps[steps.length - 1] !== "..")
            steps.pop();
        else if (step !== ".." || !absolute)
            steps.push(step);
    }
    return (absolute ? "/" : "") + steps.join("/");
}
