#include "levelexport.h"

#include "clierror.h"
#include "files.h"
#include "grid.h"
#include "level.h"
#include "levelinput.h"
#include "picture.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

#include <set>

namespace hollenby::cli::tiled {

namespace {

constexpr std::size_t kColumns = std::size_t(grid::kColumns);

// The game's tile set: tile id n is the n-th code of the table, gid n + 1.
Tileset GameTileset(const QString& resources, const QString& mapFolder, std::set<int>& unusable)
{
    Tileset tileset;
    tileset.name = QStringLiteral("hollenby");
    tileset.tileSize = {0, 0};
    const QDir from(mapFolder);
    int id = 0;
    for (const std::string_view code : TileCodes()) {
        const QString path = TileBitmapNativePath(resources, code);
        Tile tile;
        tile.id = id;
        tile.hasCode = true;
        tile.code = ui::TextFromBytes(code);
        tile.image = from.relativeFilePath(QFileInfo(path).absoluteFilePath());
        tile.imageSize = QImageReader(path).size();
        if (!tile.imageSize.isValid()) {
            // Tiled draws a missing image as a placeholder of the size the map gives it.
            unusable.insert(id);
            tile.imageSize = {grid::kPlayPitch, grid::kPlayPitch};
        }
        tileset.tileSize = tileset.tileSize.expandedTo(tile.imageSize);
        tileset.tiles[id++] = tile;
    }
    tileset.tileCount = id;
    return tileset;
}

int CodeIndex(std::string_view cell)
{
    const std::vector<std::string_view>& codes = TileCodes();
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (codes[i] == cell)
            return int(i);
    }
    return -1;
}

QString NotARowMessage(std::string_view line)
{
    if (line.empty())
        return QStringLiteral("blank line: not a row, so it cannot travel into a map");
    if (line.front() == ',')
        return QStringLiteral("line starts with \",\": not a row, so it cannot travel into a map");
    return QStringLiteral("line has more than %1 cells: not a row, so it cannot travel into a map")
        .arg(kMaxRowCells);
}

class FindingList
{
public:
    FindingList(const QString& file, std::vector<Finding>& findings)
        : m_file(file), m_findings(findings)
    {}

    void add(std::int64_t line, std::string_view text, std::string_view at, Severity severity,
             const QString& message, const char* id)
    {
        const std::int64_t column = std::int64_t(at.data() - text.data()) + 1;
        m_findings.push_back({m_file, line, column, severity, message, QLatin1String(id)});
    }

private:
    QString m_file;
    std::vector<Finding>& m_findings;
};

// One drawn row's eight cells into the layer, with what the map cannot keep of its line.
void AddRow(const DrawnRow& row, std::string_view line, TileLayer& layer, FindingList& findings,
            std::set<int>& unusable)
{
    for (const std::string_view cell : row.cells) {
        const int index = CodeIndex(cell);
        layer.gids.push_back(std::uint32_t(index + 1));
        if (index < 0) {
            findings.add(row.line, line, cell, Severity::Warning,
                         QStringLiteral("\"%1\" is not a tile code; the map has an empty cell here")
                             .arg(ui::TextFromBytes(cell)),
                         "unknown-code");
        } else if (unusable.erase(index) > 0) {
            findings.add(row.line, line, cell, Severity::Warning,
                         QStringLiteral("the bitmap of code %1 is missing or does not decode; "
                                        "Tiled shows it as a missing image")
                             .arg(ui::TextFromBytes(cell)),
                         "missing-bitmap");
        }
    }
    const std::string_view last = row.cells.back();
    const std::size_t lastEnd = std::size_t(last.data() + last.size() - line.data());
    if (row.cells.size() == kColumns && lastEnd < line.size()) {
        findings.add(row.line, line, line.substr(lastEnd + 1), Severity::Warning,
                     QStringLiteral("row has %1 cells; the map keeps the first %2")
                         .arg(SplitLevelCells(line).size())
                         .arg(kColumns),
                     "extra-cells");
    } else if (row.cells.size() < kColumns) {
        findings.add(row.line, line, line.substr(lastEnd), Severity::Note,
                     QStringLiteral("row has %1 cells; the map's other %2 are empty and come "
                                    "back as blank cells")
                         .arg(row.cells.size())
                         .arg(kColumns - row.cells.size()),
                     "short-row");
    }
    layer.gids.resize(layer.gids.size() + kColumns - row.cells.size(), 0);
}

} // namespace

ExportedMap MapFromLevel(const LevelText& level, const QString& resources, const QString& mapFolder)
{
    if (!QFileInfo(ui::NativePath(resources)).isDir())
        Fail(resources,
             QStringLiteral("no such folder (the resources folder; choose one with -r)"));
    ExportedMap result;
    std::set<int> unusable;
    result.map.tilesets.push_back(GameTileset(resources, mapFolder, unusable));
    result.map.tileSize = {grid::kPlayPitch, grid::kPlayPitch};
    FindingList findings(level.path(), result.findings);

    const std::vector<std::string_view>& lines = level.lines();
    const std::vector<DrawnRow> rows = DrawnRows(lines);
    TileLayer layer;
    layer.name = QStringLiteral("level");
    layer.width = int(kColumns);
    layer.height = int(rows.size());
    layer.gids.reserve(rows.size() * kColumns);
    std::int64_t lineNumber = 1;
    const auto skipLinesBefore = [&](std::int64_t rowLine) {
        for (; lineNumber < rowLine; ++lineNumber) {
            const std::string_view line = lines[std::size_t(lineNumber - 1)];
            findings.add(lineNumber, line, line, Severity::Warning, NotARowMessage(line),
                         "not-a-row");
        }
        ++lineNumber;
    };
    for (const DrawnRow& row : rows) {
        skipLinesBefore(row.line);
        AddRow(row, lines[std::size_t(row.line - 1)], layer, findings, unusable);
    }
    skipLinesBefore(std::int64_t(lines.size()) + 1);
    result.map.width = layer.width;
    result.map.height = layer.height;
    result.map.tileLayers.push_back(std::move(layer));
    return result;
}

} // namespace hollenby::cli::tiled
