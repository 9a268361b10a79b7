// Files the extension reads and writes. Tiled 1.8 cannot ask what kind of file a path names, so
// the folder's listing tells: reading a FIFO or a device would never end, and a symbolic link
// may lead to one, so only plain files are read.

// The largest level read: far beyond the 32 768 lines the editor scrolls through.
export const MAX_LEVEL_BYTES = 64 * 1024 * 1024;

export function folderOf(path) {
    const slash = path.lastIndexOf("/");
    return slash < 0 ? "." : slash === 0 ? "/" : path.substring(0, slash);
}

export function nameOf(path) {
    return path.substring(path.lastIndexOf("/") + 1);
}

// The names in `folder` that `filter` lets through (File.Files, File.Dirs, ...), hidden included.
export function listFolder(folder, filter) {
    return File.directoryEntries(folder, filter | File.Hidden | File.NoDotAndDotDot);
}

// "" when `path` is a plain file; otherwise why it is not one, in a few words.
export function notAPlainFile(path) {
    const folder = folderOf(path), name = nameOf(path);
    const has = filter => listFolder(folder, filter).indexOf(name) >= 0;
    if (has(File.Files | File.NoSymLinks))
        return "";
    if (has(File.Dirs | File.NoSymLinks))
        return "is a folder";
    if (has(File.AllEntries | File.System | File.NoSymLinks))
        return "is a FIFO, a device or a socket, not a file";
    if (has(File.AllEntries | File.System))
        return "is a symbolic link; the extension reads plain files only (a link may lead to " +
               "a pipe or a device that never ends), so open the file it points to";
    return "no such file";
}

// The whole file as bytes. Throws an Error naming the file when it cannot be read.
export function readBytes(path, limit) {
    const problem = notAPlainFile(path);
    if (problem)
        throw new Error(`${path}: ${problem}`);
    const file = new BinaryFile(path, BinaryFile.ReadOnly);
    try {
        if (file.size > limit)
            throw new Error(`${path}: the file is ${(file.size / 1048576).toFixed(1)} MiB; ` +
                            `a level may be at most ${limit / 1048576} MiB`);
        return new Uint8Array(file.readAll());
    } finally {
        file.close();
    }
}

// Writes all of `bytes` or nothing: Tiled's BinaryFile writes a temporary file and puts it in
// place on commit. Returns "" or the reason it failed.
export function writeBytes(path, bytes) {
    try {
        const file = new BinaryFile(path, BinaryFile.WriteOnly);
        file.write(bytes.buffer);
        file.commit();
        return "";
    } catch (error) {
        return `${path}: cannot write: ${String(error.message || error)}`;
    }
}
