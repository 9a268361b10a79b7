#pragma once
// A Tiled map's tile layer as level text: one line per map row, its cells' codes joined by ",",
// lines joined by CR LF, then as many CR LF as the map's kTrailingEmptyLinesProperty says.

#include "tiledmap.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <string>

namespace hollenby::cli::tiled {

struct ImportOptions
{
    QString layer;                        // the layer to take; empty to let the map decide
    QString blank = QStringLiteral("00"); // the code of an empty cell
    // The first of the 8 columns to keep (Tiled's x, from 0); without it a map wider than a
    // row is refused.
    std::optional<std::int64_t> crop;
};

struct ImportedLevel
{
    std::string text;
    QStringList warnings; // what the level cannot keep, each "message [id]"
};

// The level the map's tile layer holds: the layer named by the options, else the one named
// "level", else the only tile layer. A cell's code is its tile's `code` property (a string that
// can stand in a level cell), else the game bitmap its image is named after. An infinite map
// gives the map's own area grown to every painted cell. Throws MapError, in the words of
// importmessages.h, for everything that keeps the map from becoming a level.
ImportedLevel LevelFromMap(const Map& map, const ImportOptions& options);

} // namespace hollenby::cli::tiled
