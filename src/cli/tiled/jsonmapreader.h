#pragma once
// Reads Tiled's JSON formats: a map (.tmj, .json) and an external tileset (.tsj, .json).

#include "tiledmap.h"

#include <QByteArray>

namespace hollenby::cli::tiled {

// The map in `bytes`. External tilesets come from `loader`. Throws MapError for anything that
// is not a well-formed map; the loader's own errors pass through.
Map ReadJsonMap(const QByteArray& bytes, const TilesetLoader& loader);

// A tileset file's tileset, its firstGid left at 1. Throws MapError as ReadJsonMap.
Tileset ReadJsonTileset(const QByteArray& bytes);

} // namespace hollenby::cli::tiled
