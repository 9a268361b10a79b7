#include "levelexport.h"

#include "check/cellfinding.h"
#include "check/findinglist.h"
#include "clierror.h"
#include "files.h"
#include "grid.h"
#include "inputfile.h"
#include "level.h"
#include "levelinput.h"
#include "levelrows.h"
#include "picture.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

#include <set>

namespace hollenby::cli::tiled {

namespace {

constexpr std::size_t kMapColumns = std::size_t(grid::kColumns);

// The game's tile set: tile id n is the n-th code of the table, gid n + 1. `unusable` gets the
// codes whose bitmap is missing or does not decode.
Tileset GameTileset(const QString& resources, const QString& mapFolder, std::set<int>& unusable)
{
    Tileset tileset;
    tileset.name = QStringLiteral("hollenby");
    tileset.tileSize = {0, 0};
    const QDir from(mapFolder);
    int id = 0;
    for (const std::string_view code : TileCodes()) {
        const QString path = TileBitmapNativePath(resources, code);
        // Only its size is read, but a FIFO in its place would still be waited on for ever.
        RefuseIrregularFile(path);
        Tile tile;
        tile.id = id;
        tile.code = Property{QStringLiteral("string"), ui::TextFromBytes(code)};
        tile.image = from.relativeFilePath(QFileInfo(path).absoluteFilePath());
        tile.imageSize = QImageReader(path).size();
        if (!tile.imageSize.isValid()) {
            // Tiled draws a missing image as a placeholder of the size the map gives it.
            unusable.insert(id);
            tile.imageSize = {grid::kPlayPitch, grid::kPlayPitch};
        }
        tileset.tileSize = tileset.tileSize.expandedTo(tile.imageSize);
        tileset.tiles.insert(id++, tile);
    }
    tileset.tileCount = id;
    return tileset;
}

class LevelMapper
{
public:
    LevelMapper(const LevelText& level, std::set<int>& unusable, TileLayer& layer)
        : m_level(level), m_findings(level), m_unusable(unusable), m_layer(layer)
    {}

    LevelFindings map(std::size_t lastNonEmpty)
    {
        const std::vector<std::string_view>& lines = m_level.lines();
        std::vector<std::string_view> cells;
        for (std::size_t i = 0; i < lastNonEmpty; ++i) {
            const std::string_view line = lines[i];
            if (line.empty()) {
                std::size_t end = i;
                while (end < lastNonEmpty && lines[end].empty())
                    ++end;
                add(line, Severity::Warning, QStringLiteral("blank-line"),
                    end - i == 1 ? QStringLiteral("blank line: not a row, so it cannot travel "
                                                  "into a map")
                                 : QStringLiteral("%1 blank lines: not rows, so they cannot "
                                                  "travel into a map")
                                       .arg(end - i));
                i = end - 1;
            } else if (line.front() == ',') {
                add(line, Severity::Warning, QStringLiteral("not-a-row"),
                    QStringLiteral("line starts with \",\": not a row, so it cannot travel into "
                                   "a map"));
            } else if (!IsLevelRowLine(line)) {
                add(line, Severity::Warning, QStringLiteral("not-a-row"),
                    QStringLiteral("line has more than %1 cells: not a row, so it cannot travel "
                                   "into a map")
                        .arg(kMaxRowCells));
            } else {
                SplitLevelCells(line, cells);
                row(line, cells);
            }
        }
        return m_findings.take();
    }

private:
    const LevelText& m_level;
    FindingList m_findings;
    std::set<int>& m_unusable;
    TileLayer& m_layer;

    void add(std::string_view at, Severity severity, const QString& id, const QString& message)
    {
        m_findings.add(std::size_t(at.data() - m_level.bytes().data()), severity, id, message);
    }

    // One drawn row's eight cells into the layer, with what the map cannot keep of its line.
    void row(std::string_view line, const std::vector<std::string_view>& cells)
    {
        const std::size_t drawn = std::min(cells.size(), kMapColumns);
        for (std::size_t c = 0; c < drawn; ++c) {
            const std::string_view cell = cells[c];
            const int index = TileIndex(cell);
            m_layer.gids.push_back(std::uint32_t(index + 1));
            if (index >= 0) {
                if (m_unusable.erase(index) > 0)
                    add(cell, Severity::Warning, QStringLiteral("missing-bitmap"),
                        QStringLiteral("the bitmap of code %1 is missing or does not decode; "
                                       "Tiled shows it as a missing image")
                            .arg(ui::TextFromBytes(cell)));
            } else if (const std::optional<CellFinding> finding = FindingOfCell(cell)) {
                add(cell.substr(finding->at), Severity::Warning, QLatin1String(finding->kind->id),
                    finding->message + QStringLiteral("; the map has an empty cell here"));
            }
        }
        m_layer.gids.resize(m_layer.gids.size() + kMapColumns - drawn, 0);
        if (cells.size() > kMapColumns) {
            add(cells[kMapColumns], Severity::Warning, QStringLiteral("long-row"),
                QStringLiteral("row has %1 cells; the map keeps the first %2")
                    .arg(cells.size())
                    .arg(kMapColumns));
        } else if (cells.size() < kMapColumns) {
            add(line.substr(line.size()), Severity::Note, QStringLiteral("short-row"),
                QStringLiteral("row has %1 cells; the map's other %2 are empty and come back as "
                               "blank cells")
                    .arg(cells.size())
                    .arg(kMapColumns - cells.size()));
        }
    }
};

} // namespace

std::int64_t TrailingEmptyLines(const std::vector<std::string_view>& lines)
{
    std::size_t last = lines.size();
    while (last > 0 && lines[last - 1].empty())
        --last;
    // Each empty line after the last that is not is one CR LF; with no such line, the CR LFs
    // stand between the empty lines.
    const std::size_t empty = lines.size() - last;
    return std::int64_t(last > 0 ? empty : std::max<std::size_t>(empty, 1) - 1);
}

ExportedMap MapFromLevel(const LevelText& level, const QString& resources, const QString& mapFolder)
{
    level.requireText();
    const std::vector<std::string_view>& lines = level.lines();
    // What import would refuse to read back is refused here, before the map takes any memory.
    std::int64_t rows = 0;
    bool anyCode = false;
    std::vector<std::string_view> cells;
    for (const std::string_view line : lines) {
        if (!IsLevelRowLine(line))
            continue;
        ++rows;
        if (!anyCode) {
            SplitLevelCells(line, cells);
            for (std::size_t c = 0; c < cells.size() && c < kMapColumns && !anyCode; ++c)
                anyCode = TileIndex(cells[c]) >= 0;
        }
    }
    if (rows * std::int64_t(kMapColumns) > kMaxCells)
        Fail(level.name(), QStringLiteral("%1 rows make a map of %2 cells; import reads at most "
                                          "%3, so a map may hold no more")
                               .arg(rows)
                               .arg(rows * std::int64_t(kMapColumns))
                               .arg(kMaxCells));
    const std::int64_t trailing = TrailingEmptyLines(lines);
    if (trailing > kMaxTrailingEmptyLines)
        Fail(level.name(), QStringLiteral("the level ends in %1 empty lines; a map may record at "
                                          "most %2")
                               .arg(trailing)
                               .arg(kMaxTrailingEmptyLines));
    if (!anyCode)
        Fail(level.name(), QStringLiteral("not a level: none of its drawn cells is a tile code"));
    if (!QFileInfo(ui::NativePath(resources)).isDir())
        Fail(resources,
             QStringLiteral("no such folder (the resources folder; choose one with -r)"));

    ExportedMap result;
    std::set<int> unusable;
    result.map.tilesets.push_back(GameTileset(resources, mapFolder, unusable));
    result.map.tileSize = {grid::kPlayPitch, grid::kPlayPitch};
    result.map.properties[kTrailingEmptyLinesProperty] = {QStringLiteral("int"),
                                                          QString::number(trailing)};
    TileLayer layer;
    layer.name = QStringLiteral("level");
    layer.width = int(kMapColumns);
    layer.height = int(rows);
    layer.gids.reserve(std::size_t(rows) * kMapColumns);
    result.findings = LevelMapper(level, unusable, layer).map(lines.size() - std::size_t(trailing));
    result.map.width = layer.width;
    result.map.height = layer.height;
    result.map.tileLayers.push_back(std::move(layer));
    return result;
}

} // namespace hollenby::cli::tiled
