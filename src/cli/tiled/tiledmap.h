#pragma once
// A Tiled map, reduced to what a level can hold or needs to be found: the grid, the tilesets with
// each tile's `code` property and image, and the tile layers' global tile ids (gids). Object and
// image layers are only named. Both file formats read into and write from this one model.

#include <QMap>
#include <QSize>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <vector>

namespace hollenby::cli::tiled {

// A gid's top four bits turn the tile; the rest is the tile's number counted over all tilesets
// from 1, 0 being an empty cell. On an orthogonal map only the top three show (horizontal,
// vertical and anti-diagonal flips); Tiled may keep the fourth, a hexagonal rotation, anyway.
inline constexpr std::uint32_t kTurnBits = 0xF0000000U;
inline constexpr std::uint32_t kOrthogonalTurnBits = 0xE0000000U;

// The most cells one import decodes: a layer, or all chunks of an infinite one together. Sixteen
// times the longest level the editor can scroll through, and 16 MiB of decoded gids.
inline constexpr std::int64_t kMaxCells = std::int64_t{1} << 22;
// The most empty lines a map may say its level ends in: as many as it may have cells, so that a
// map's level stays within the same few MiB.
inline constexpr std::int64_t kMaxTrailingEmptyLines = kMaxCells;

// The map property that records how many empty lines end the level, an int: the CR LFs after
// its last line that is not empty (a final CR LF makes one, "01\r\n\r\n" two, "01" none; a lone
// LF or CR at the end is part of the last line, not an empty line after it). Import writes the
// rows joined by CR LF, then that many CR LF; a map without it gives none, as Tiled makes maps.
inline const QString kTrailingEmptyLinesProperty = QStringLiteral("trailing-empty-lines");
// Groups nest layers, and elements nest in a map file; deeper than this is no map a person made,
// and each level costs memory and stack.
inline constexpr int kMaxGroupDepth = 100;
inline constexpr int kMaxElementDepth = 100;

// A custom property as Tiled keeps it: its type ("string", "int", "float", "bool", "color",
// "file", "object" or "class") and its value written as text.
struct Property
{
    QString type = QStringLiteral("string");
    QString value;
};

// A map's own properties, by name.
using Properties = std::map<QString, Property>;

struct Tile
{
    int id = 0;
    std::optional<Property> code; // the `code` property
    QString image;                // an image collection's tile: its file, as written in the map
    QSize imageSize;
};

struct Tileset
{
    std::uint32_t firstGid = 1;
    QString name;
    QString source; // an external tileset's file, as written in the map; empty when embedded
    int tileCount = 0;
    QString atlasImage; // set for a tileset cut from one image; empty for an image collection
    QSize tileSize{40, 40};
    // The tiles the file describes, by id. Shared between copies, so that a map naming one
    // tileset file many times holds its tiles once.
    QMap<int, Tile> tiles;
};

// The tiles an atlas image holds when its file does not say (files Tiled wrote before it wrote
// `tilecount`): whole tiles across and down within the margin, `spacing` apart, as Tiled counts
// them. 0 when a size is not known.
inline int AtlasTileCount(QSize image, QSize tile, int margin, int spacing)
{
    if (!image.isValid() || tile.width() <= 0 || tile.height() <= 0)
        return 0;
    const auto fit = [&](int length, int size) {
        return std::max(0, (length - margin + spacing) / (size + spacing));
    };
    const std::int64_t count =
        std::int64_t{fit(image.width(), tile.width())} * fit(image.height(), tile.height());
    return int(std::min<std::int64_t>(count, std::numeric_limits<int>::max()));
}

// A part of an infinite layer, at a tile position that may be negative.
struct Chunk
{
    std::int64_t x = 0;
    std::int64_t y = 0;
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> gids; // width x height, row by row
};

struct TileLayer
{
    QString name;
    bool visible = true;
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> gids; // a finite layer's width x height cells, row by row
    std::vector<Chunk> chunks;       // an infinite layer's parts
};

struct Map
{
    QString orientation = QStringLiteral("orthogonal");
    int width = 0;
    int height = 0;
    QSize tileSize{40, 40};
    bool infinite = false;
    std::vector<Tileset> tilesets;
    std::vector<TileLayer> tileLayers; // in file order, those inside groups included
    QStringList otherLayers;           // "objects (object layer)": every layer that holds no tiles
    Properties properties;
};

// Reads an external tileset named in a map (the `source` as written there). Throws MapError when
// it cannot, naming the tileset; the tileset's `firstGid` is left for the caller to set.
using TilesetLoader = std::function<Tileset(const QString& source)>;

} // namespace hollenby::cli::tiled
