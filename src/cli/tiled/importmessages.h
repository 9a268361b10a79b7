#pragma once
// The words in which import refuses a map, or warns about one, kept in one place: anything else
// that turns a map into a level (Tiled's own save, through an extension) must say the same.
// Names and values from the map are quoted as Printable makes them.

#include "tiledmap.h"

#include <QString>

#include <cstdint>

namespace hollenby::cli::tiled::importmessage {

// Why `code` cannot stand in a level cell ("has a space"), or nothing when it can: it must be
// 8-bit text, not empty, without a space, a comma, a line break or any other control character
// (NUL included), so that it neither splits, ends nor hides in its row.
QString CellTextProblem(const QString& code);

QString NotOrthogonal(const QString& orientation);
QString LayersShareName(qsizetype count, const QString& name);
// `described` as the map lists its other layers: "things (object layer)".
QString LayerHoldsNoTiles(const QString& described);
// `tileLayers` is the list of the map's tile layers, LayerList().
QString NoLayerNamed(const QString& name, const QString& tileLayers);
QString NoTileLayer();
QString NoLevelLayer(qsizetype count, const QString& tileLayers);
QString InfiniteLayerTooLarge(const QString& layer, std::int64_t width, std::int64_t height);
QString LayerWithoutColumns(const QString& layer);
// A layer wider than a row: its painted cells lie in columns `first` to `last` (Tiled's x,
// from 0), or nowhere when `first` is negative.
QString LayerTooWide(const QString& layer, std::int64_t width, std::int64_t first,
                     std::int64_t last);
QString CropPastEdge(const QString& layer, std::int64_t crop, std::int64_t width);
QString GidBeyondTilesets(std::uint32_t gid);
QString GidNamesNoTile(std::uint32_t gid, int id, const QString& tileset);
QString TileWithoutCode(int id, const QString& tileset);
QString CodeNotString(int id, const QString& tileset, const QString& type);
QString CodeNotCell(int id, const QString& tileset, const QString& code, const QString& problem);
QString BadTrailingEmptyLines(const Property& property);

// Warnings, each ending in its id as check's findings do.
QString TurnedTiles(const QString& layer, std::int64_t cells);
QString UnknownCode(int id, const QString& tileset, const QString& code);

// The map's tile layers for a message: "\"ground\" (hidden), \"notes\"".
QString LayerList(const Map& map);

} // namespace hollenby::cli::tiled::importmessage
