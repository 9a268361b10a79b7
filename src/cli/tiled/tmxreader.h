#pragma once
// Reads Tiled's XML formats: a map (.tmx) and an external tileset (.tsx).

#include "tiledmap.h"

#include <QByteArray>

namespace hollenby::cli::tiled {

// The map in `bytes`. External tilesets come from `loader`. Throws MapError for anything that
// is not a well-formed map, its reason beginning with the line it was found on; the loader's
// own errors pass through.
Map ReadTmxMap(const QByteArray& bytes, const TilesetLoader& loader);

// A tileset file's tileset, its firstGid left at 1. Throws MapError as ReadTmxMap.
Tileset ReadTsxTileset(const QByteArray& bytes);

} // namespace hollenby::cli::tiled
