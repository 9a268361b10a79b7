#pragma once
// A Tiled map's tile layer as level text: one line per map row, its cells' codes joined by ",",
// lines joined by CR LF with none after the last.

#include "tiledmap.h"

#include <QString>
#include <QStringList>

#include <string>

namespace hollenby::cli::tiled {

struct ImportOptions
{
    QString layer;                        // the layer to take; empty to let the map decide
    QString blank = QStringLiteral("00"); // the code of an empty cell
    bool crop = false;                    // keep the first 8 columns of a wider map
};

struct ImportedLevel
{
    std::string text;
    QStringList warnings; // what the level cannot keep, each "message [id]"
};

// Whether `code` can stand in a level cell: not empty, 8-bit, without "," or a line break, so
// that it neither splits nor ends the row.
bool IsCellText(const QString& code);

// The level the map's tile layer holds: the layer named by the options, else the one named
// "level", else the only tile layer. A cell's code is its tile's `code` property, else the game
// bitmap its image is named after. An infinite map gives the map's own area grown to every
// painted cell. Throws MapError for everything that keeps the map from becoming a level.
ImportedLevel LevelFromMap(const Map& map, const ImportOptions& options);

} // namespace hollenby::cli::tiled
