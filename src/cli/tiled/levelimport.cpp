#include "levelimport.h"

#include "files.h"
#include "grid.h"
#include "level.h"
#include "maperror.h"

#include <algorithm>
#include <map>

namespace hollenby::cli::tiled {

namespace {

constexpr std::int64_t kColumns = grid::kColumns;

QString LayerList(const Map& map)
{
    QStringList names;
    for (const TileLayer& layer : map.tileLayers)
        names << QLatin1Char('"') + layer.name + (layer.visible ? "\"" : "\" (hidden)");
    return names.join(QStringLiteral(", "));
}

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
        MapFail(QStringLiteral("%1 tile layers are named \"%2\"; rename all but one in Tiled")
                    .arg(named.size())
                    .arg(name));
    if (!wanted.isEmpty()) {
        for (const QString& other : map.otherLayers) {
            if (other.startsWith(name + QStringLiteral(" (")))
                MapFail(QStringLiteral("layer %1 holds no tiles").arg(other));
        }
        MapFail(QStringLiteral("no tile layer is named \"%1\"; the map's tile layers: %2")
                    .arg(name, map.tileLayers.empty() ? QStringLiteral("none") : LayerList(map)));
    }
    if (map.tileLayers.size() == 1)
        return map.tileLayers.front();
    if (map.tileLayers.empty())
        MapFail(QStringLiteral("the map has no tile layer"));
    MapFail(QStringLiteral("the map has %1 tile layers and none named \"level\": %2; choose one "
                           "with --layer")
                .arg(map.tileLayers.size())
                .arg(LayerList(map)));
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
        MapFail(QStringLiteral("the infinite layer \"%1\" spans %2 x %3 tiles; an import reads at "
                               "most %4 cells")
                    .arg(layer.name)
                    .arg(grid.width)
                    .arg(grid.height)
                    .arg(kMaxCells));
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

// Finds each gid's code once, however many cells show its tile.
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

    const std::string& code(std::uint32_t gid)
    {
        const auto known = m_codes.find(gid);
        if (known != m_codes.end())
            return known->second;
        return m_codes.emplace(gid, find(gid)).first->second;
    }

private:
    std::string find(std::uint32_t gid) const
    {
        const auto after = std::upper_bound(
            m_tilesets.begin(), m_tilesets.end(), gid,
            [](std::uint32_t value, const Tileset* tileset) { return value < tileset->firstGid; });
        if (after == m_tilesets.begin())
            MapFail(QStringLiteral("gid %1 is beyond every tileset").arg(gid));
        const Tileset& tileset = **(after - 1);
        const int id = int(gid - tileset.firstGid);
        const auto tile = tileset.tiles.find(id);
        const bool inAtlas = !tileset.atlasImage.isEmpty() && id < tileset.tileCount;
        if (tile == tileset.tiles.end() && !inAtlas) {
            if (after == m_tilesets.end())
                MapFail(QStringLiteral("gid %1 is beyond every tileset").arg(gid));
            MapFail(QStringLiteral("gid %1 names tile %2 of tileset \"%3\", which has no such tile")
                        .arg(gid)
                        .arg(id)
                        .arg(tileset.name));
        }
        const QString where = QStringLiteral("tile %1 of tileset \"%2\"").arg(id).arg(tileset.name);
        if (tile == tileset.tiles.end() || !tile->second.hasCode) {
            const QString image = tile == tileset.tiles.end() ? QString() : tile->second.image;
            const QString code = CodeOfImage(image);
            if (code.isEmpty())
                MapFail(where + QStringLiteral(" has no code property, nor an image named after "
                                               "a game bitmap"));
            return ui::BytesFromText(code);
        }
        if (!IsCellText(tile->second.code))
            MapFail(where + QStringLiteral(" has the code \"%1\", which cannot be a level cell")
                                .arg(tile->second.code));
        return ui::BytesFromText(tile->second.code);
    }

    std::vector<const Tileset*> m_tilesets;
    std::map<std::uint32_t, std::string> m_codes;
};

} // namespace

bool IsCellText(const QString& code)
{
    if (code.isEmpty())
        return false;
    return std::all_of(code.begin(), code.end(), [](QChar c) {
        return c.unicode() <= 0xFF && c != QLatin1Char(',') && c != QLatin1Char('\r') &&
               c != QLatin1Char('\n');
    });
}

ImportedLevel LevelFromMap(const Map& map, const ImportOptions& options)
{
    if (!map.orientation.isEmpty() && map.orientation != QLatin1String("orthogonal"))
        MapFail(QStringLiteral("the map is %1; only an orthogonal map's rows are a level's rows")
                    .arg(map.orientation));
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
        MapFail(QStringLiteral("layer \"%1\" is 0 tiles wide").arg(layer.name));
    if (grid.width > kColumns && !options.crop)
        MapFail(QStringLiteral("layer \"%1\" is %2 tiles wide; a level row draws %3 (--crop keeps "
                               "the first %3 columns)")
                    .arg(layer.name)
                    .arg(grid.width)
                    .arg(kColumns));

    ImportedLevel level;
    const std::string blank = ui::BytesFromText(options.blank);
    const std::int64_t columns = std::min(grid.width, kColumns);
    CodeTable codes(map);
    std::int64_t turned = 0;
    level.text.reserve(std::size_t(grid.height * columns * 3));
    for (std::int64_t y = 0; y < grid.height; ++y) {
        if (y > 0)
            level.text += "\r\n";
        for (std::int64_t x = 0; x < columns; ++x) {
            if (x > 0)
                level.text += ',';
            const std::uint32_t gid = (*grid.cells)[std::size_t(y * grid.width + x)];
            turned += (gid & kOrthogonalTurnBits) != 0 ? 1 : 0;
            const std::uint32_t tile = gid & ~kTurnBits;
            level.text += tile == 0 ? blank : codes.code(tile);
        }
    }
    if (turned > 0)
        level.warnings << QStringLiteral("layer \"%1\": %2 flipped or rotated, which a level "
                                         "cannot show; the tiles are kept unturned [turned-tiles]")
                              .arg(layer.name, turned == 1
                                                   ? QStringLiteral("1 cell is")
                                                   : QStringLiteral("%1 cells are").arg(turned));
    return level;
}

} // namespace hollenby::cli::tiled
