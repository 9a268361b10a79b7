#include "levelimport.h"

#include "check/cellfinding.h"
#include "files.h"
#include "grid.h"
#include "importmessages.h"
#include "level.h"
#include "levelrows.h"
#include "maperror.h"

#include <algorithm>
#include <map>

namespace hollenby::cli::tiled {

namespace {

namespace message = importmessage;

constexpr std::int64_t kColumns = grid::kColumns;

const TileLayer& ChooseLayer(const Map& map, const QString& wanted)
{
    const QString name = wanted.isEmpty() ? QStringLiteral("level") : wanted;
    std::vector<const TileLayer*> named;
    for (const TileLayer& layer : map.tileLayers) {
        if (layer.name == name)
            named.push_back(&layer);
    }
    if (named.size() == 1)
        return *named.front();
    if (named.size() > 1)
        MapFail(message::LayersShareName(qsizetype(named.size()), name));
    if (!wanted.isEmpty()) {
        for (const QString& other : map.otherLayers) {
            if (other.startsWith(name + QStringLiteral(" (")))
                MapFail(message::LayerHoldsNoTiles(other));
        }
        MapFail(message::NoLayerNamed(name, message::LayerList(map)));
    }
    if (map.tileLayers.size() == 1)
        return map.tileLayers.front();
    if (map.tileLayers.empty())
        MapFail(message::NoTileLayer());
    MapFail(message::NoLevelLayer(qsizetype(map.tileLayers.size()), message::LayerList(map)));
}

// The layer's cells as one rectangle, row by row.
struct CellGrid
{
    std::int64_t width = 0;
    std::int64_t height = 0;
    const std::vector<std::uint32_t>* cells = nullptr;
    std::vector<std::uint32_t> owned;
};

// An infinite layer's chunks placed in the map's own area, grown to hold every painted cell.
void PlaceChunks(const Map& map, const TileLayer& layer, CellGrid& grid)
{
    std::int64_t left = 0;
    std::int64_t top = 0;
    std::int64_t right = map.width;
    std::int64_t bottom = map.height;
    for (const Chunk& chunk : layer.chunks) {
        for (std::size_t i = 0; i < chunk.gids.size(); ++i) {
            if (chunk.gids[i] == 0)
                continue;
            const std::int64_t x = chunk.x + std::int64_t(i) % chunk.width;
            const std::int64_t y = chunk.y + std::int64_t(i) / chunk.width;
            left = std::min(left, x);
            top = std::min(top, y);
            right = std::max(right, x + 1);
            bottom = std::max(bottom, y + 1);
        }
    }
    grid.width = right - left;
    grid.height = bottom - top;
    if (grid.width > kMaxCells || grid.height > kMaxCells || grid.width * grid.height > kMaxCells)
        MapFail(message::InfiniteLayerTooLarge(layer.name, grid.width, grid.height));
    grid.owned.assign(std::size_t(grid.width * grid.height), 0);
    for (const Chunk& chunk : layer.chunks) {
        for (std::size_t i = 0; i < chunk.gids.size(); ++i) {
            if (chunk.gids[i] == 0)
                continue;
            const std::int64_t x = chunk.x + std::int64_t(i) % chunk.width - left;
            const std::int64_t y = chunk.y + std::int64_t(i) / chunk.width - top;
            grid.owned[std::size_t(y * grid.width + x)] = chunk.gids[i];
        }
    }
    grid.cells = &grid.owned;
}

// The game code a bitmap file is named after ("07.bmp" gives "07"); empty for any other name.
QString CodeOfImage(const QString& image)
{
    const QString name = image.mid(
        std::max(image.lastIndexOf(QLatin1Char('/')), image.lastIndexOf(QLatin1Char('\\'))) + 1);
    for (const std::string_view code : TileCodes()) {
        if (ui::TextFromBytes(TileBitmapFile(code)) == name)
            return ui::TextFromBytes(code);
    }
    return {};
}

// Finds each tile's code once, however many cells show it.
class CodeTable
{
public:
    explicit CodeTable(const Map& map)
    {
        for (const Tileset& tileset : map.tilesets)
            m_tilesets.push_back(&tileset);
        std::stable_sort(
            m_tilesets.begin(), m_tilesets.end(),
            [](const Tileset* a, const Tileset* b) { return a->firstGid < b->firstGid; });
    }

    // The code of the tile `gid` shows; `written` is the gid as the map has it, flip bits and
    // all, which is what a message quotes.
    const std::string& code(std::uint32_t gid, std::uint32_t written)
    {
        const auto known = m_codes.find(gid);
        if (known != m_codes.end())
            return known->second;
        return m_codes.emplace(gid, find(gid, written)).first->second;
    }

    const QStringList& warnings() const { return m_warnings; }

private:
    std::string find(std::uint32_t gid, std::uint32_t written)
    {
        const auto after = std::upper_bound(
            m_tilesets.begin(), m_tilesets.end(), gid,
            [](std::uint32_t value, const Tileset* tileset) { return value < tileset->firstGid; });
        if (after == m_tilesets.begin())
            MapFail(message::GidBeyondTilesets(written));
        const Tileset& tileset = **(after - 1);
        const int id = int(gid - tileset.firstGid);
        const auto tile = tileset.tiles.constFind(id);
        const bool inAtlas = !tileset.atlasImage.isEmpty() && id < tileset.tileCount;
        if (tile == tileset.tiles.cend() && !inAtlas) {
            if (after == m_tilesets.end())
                MapFail(message::GidBeyondTilesets(written));
            MapFail(message::GidNamesNoTile(written, id, tileset.name));
        }
        if (tile == tileset.tiles.cend() || !tile->code) {
            const QString code =
                CodeOfImage(tile == tileset.tiles.cend() ? QString() : tile->image);
            if (code.isEmpty())
                MapFail(message::TileWithoutCode(id, tileset.name));
            return ui::BytesFromText(code);
        }
        const Property& code = *tile->code;
        if (code.type != QLatin1String("string"))
            MapFail(message::CodeNotString(id, tileset.name, code.type));
        if (const QString problem = message::CellTextProblem(code.value); !problem.isEmpty())
            MapFail(message::CodeNotCell(id, tileset.name, code.value, problem));
        std::string bytes = ui::BytesFromText(code.value);
        if (TileIndex(bytes) < 0 && !IsBlankOnPurpose(bytes))
            m_warnings << message::UnknownCode(id, tileset.name, code.value);
        return bytes;
    }

    std::vector<const Tileset*> m_tilesets;
    std::map<std::uint32_t, std::string> m_codes;
    QStringList m_warnings;
};

// How many empty lines the level ends in, as the map records it; none when it does not.
std::int64_t TrailingEmptyLines(const Map& map)
{
    const auto found = map.properties.find(kTrailingEmptyLinesProperty);
    if (found == map.properties.end())
        return 0;
    const Property& property = found->second;
    bool ok = false;
    const qlonglong count = property.value.toLongLong(&ok);
    if (property.type != QLatin1String("int") || !ok || count < 0 || count > kMaxTrailingEmptyLines)
        MapFail(message::BadTrailingEmptyLines(property));
    return count;
}

// The painted columns of a layer: the first and last that hold a tile, or -1 and -1.
std::pair<std::int64_t, std::int64_t> PaintedColumns(const CellGrid& grid)
{
    std::int64_t first = -1;
    std::int64_t last = -1;
    for (std::size_t i = 0; i < grid.cells->size(); ++i) {
        if ((*grid.cells)[i] == 0)
            continue;
        const std::int64_t x = std::int64_t(i) % grid.width;
        first = first < 0 ? x : std::min(first, x);
        last = std::max(last, x);
    }
    return {first, last};
}

} // namespace

ImportedLevel LevelFromMap(const Map& map, const ImportOptions& options)
{
    if (!map.orientation.isEmpty() && map.orientation != QLatin1String("orthogonal"))
        MapFail(message::NotOrthogonal(map.orientation));
    const std::int64_t trailing = TrailingEmptyLines(map);
    const TileLayer& layer = ChooseLayer(map, options.layer);
    CellGrid grid;
    if (map.infinite) {
        PlaceChunks(map, layer, grid);
    } else {
        grid.width = layer.width;
        grid.height = layer.height;
        grid.cells = &layer.gids;
    }
    if (grid.width == 0 && grid.height > 0)
        MapFail(message::LayerWithoutColumns(layer.name));
    if (grid.width > kColumns && !options.crop) {
        const auto [first, last] = PaintedColumns(grid);
        MapFail(message::LayerTooWide(layer.name, grid.width, first, last));
    }
    const std::int64_t left = options.crop.value_or(0);
    if (left > 0 && left >= grid.width)
        MapFail(message::CropPastEdge(layer.name, left, grid.width));

    ImportedLevel level;
    const std::string blank = ui::BytesFromText(options.blank);
    const std::int64_t columns = std::min(grid.width - left, kColumns);
    CodeTable codes(map);
    std::int64_t turned = 0;
    level.text.reserve(std::size_t(grid.height * columns * 3 + trailing * 2));
    for (std::int64_t y = 0; y < grid.height; ++y) {
        if (y > 0)
            level.text += "\r\n";
        for (std::int64_t x = left; x < left + columns; ++x) {
            if (x > left)
                level.text += ',';
            const std::uint32_t gid = (*grid.cells)[std::size_t(y * grid.width + x)];
            turned += (gid & kOrthogonalTurnBits) != 0 ? 1 : 0;
            const std::uint32_t tile = gid & ~kTurnBits;
            level.text += tile == 0 ? blank : codes.code(tile, gid);
        }
    }
    for (std::int64_t i = 0; i < trailing; ++i)
        level.text += "\r\n";
    level.warnings = codes.warnings();
    if (turned > 0)
        level.warnings << message::TurnedTiles(layer.name, turned);
    return level;
}

} // namespace hollenby::cli::tiled
