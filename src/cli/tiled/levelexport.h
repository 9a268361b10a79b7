#pragma once
// A level as a Tiled map: eight columns of 40 x 40 tiles, one map row per row the play window
// draws, one tile layer named "level" and an image-collection tileset of the game's bitmaps.

#include "diagnostic.h"
#include "tiledmap.h"

#include <QString>

#include <vector>

namespace hollenby::cli {
class LevelText;
}

namespace hollenby::cli::tiled {

struct ExportedMap
{
    Map map;
    // What cannot travel into the map, or comes back different, in the level's lines.
    std::vector<Finding> findings;
};

// Builds the map. `resources` is the resources folder; the tiles' images are written relative
// to `mapFolder`, where the map will be. Throws CliError when the folder does not exist.
ExportedMap MapFromLevel(const LevelText& level, const QString& resources,
                         const QString& mapFolder);

} // namespace hollenby::cli::tiled
