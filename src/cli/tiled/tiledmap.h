#pragma once
// A Tiled map, reduced to what a level can hold or needs to be found: the grid, the tilesets with
// each tile's `code` property and image, and the tile layers' global tile ids (gids). Object and
// image layers are only named. Both file formats read into and write from this one model.

#include <QSize>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <map>
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
// Groups nest layers; deeper than this is no map a person made, and each level costs stack.
inline constexpr int kMaxGroupDepth = 100;

struct Tile
{
    int id = 0;
    bool hasCode = false;
    QString code;  // the `code` property
    QString image; // an image collection's tile: its file, as written in the map
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
    std::map<int, Tile> tiles; // the tiles the file describes, by id
};

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
};

// Reads an external tileset named in a map (the `source` as written there). Throws CliError when
// it cannot; the tileset's `firstGid` is left for the caller to set.
using TilesetLoader = std::function<Tileset(const QString& source)>;

} // namespace hollenby::cli::tiled
