#pragma once
// A level as a Tiled map: eight columns of 40 x 40 tiles, one map row per row the play window
// draws, one tile layer named "level", an image-collection tileset of the game's bitmaps, and the
// map property kTrailingEmptyLinesProperty.

#include "check/findinglist.h"
#include "tiledmap.h"

#include <QString>

#include <string_view>
#include <vector>

namespace hollenby::cli {
class LevelText;
}

namespace hollenby::cli::tiled {

struct ExportedMap
{
    Map map;
    // What cannot travel into the map, or comes back different, in the level's lines; reported
    // with check's ids, each kind at most kDefaultMaxFindings times. Blank slots written on
    // purpose and the empty lines at the end (which the map records) are not among them.
    LevelFindings findings;
};

// The empty lines the level ends in, as kTrailingEmptyLinesProperty counts them.
std::int64_t TrailingEmptyLines(const std::vector<std::string_view>& lines);

// Builds the map. `resources` is the resources folder; the tiles' images are written relative
// to `mapFolder`, where the map will be. Throws CliError naming the file for what import could
// not give back or render would refuse: a binary file, a text without a single tile code, more
// than kMaxCells cells or kMaxTrailingEmptyLines empty lines at the end (checked before the map
// takes any memory), a resources folder that does not exist, or a bitmap that is no regular file.
ExportedMap MapFromLevel(const LevelText& level, const QString& resources,
                         const QString& mapFolder);

} // namespace hollenby::cli::tiled
