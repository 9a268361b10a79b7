#include "levelinput.h"

#include "clierror.h"
#include "files.h"
#include "grid.h"
#include "level.h"
#include "resourcefiles.h"
#include "rowwalk.h"
#include "runtimeerror.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace hollenby::cli {

LevelText::LevelText(const QString& path) : m_path(path)
{
    try {
        m_bytes = ui::ReadFileBytes(path);
    } catch (const ui::RuntimeError& error) {
        Fail(path, ReasonText(error));
    }
    m_lines = SplitLevelLines(m_bytes);
}

std::pair<std::int64_t, std::int64_t> LevelText::place(std::size_t offset) const
{
    const char* at = m_bytes.data() + offset;
    const auto line =
        std::upper_bound(m_lines.begin(), m_lines.end(), at,
                         [](const char* p, std::string_view l) { return p < l.data(); }) -
        1;
    return {line - m_lines.begin() + 1, at - line->data() + 1};
}

void LevelText::requireText() const
{
    const std::size_t nul = m_bytes.find('\0');
    if (nul == std::string::npos)
        return;
    const auto [line, column] = place(nul);
    Fail(m_path, QStringLiteral("not a level but a binary file (a NUL byte at line %1, column %2)")
                     .arg(line)
                     .arg(column));
}

namespace {

// Collects the rows the walk draws, remembering which line each came from.
class RowCollector
{
public:
    explicit RowCollector(std::vector<DrawnRow>& rows) : m_rows(rows) {}

    void beforeLine() { ++m_line; }
    void beforeCell() {}
    void placeTile(std::int32_t, std::int32_t left, std::int32_t, std::string_view cell)
    {
        if (left == 0)
            m_rows.push_back({m_line, {}});
        m_rows.back().cells.push_back(cell);
    }
    bool viewFull(std::int32_t) const { return false; }
    void overflow()
    {
        throw CliError(QStringLiteral("the level has more rows than a window can place"));
    }

private:
    std::vector<DrawnRow>& m_rows;
    std::int64_t m_line = 0;
};

} // namespace

std::vector<DrawnRow> DrawnRows(const std::vector<std::string_view>& lines)
{
    std::vector<DrawnRow> rows;
    RowCollector collector(rows);
    // Every row's position is at least 0, so the play walk from 0 draws them all.
    WalkLevelRows(lines, 0, grid::kPlayWalk, collector);
    return rows;
}

QString ResourcesFolder(const QString& levelPath, const QString& option)
{
    if (!option.isEmpty())
        return option;
    return QFileInfo(levelPath).dir().filePath(QStringLiteral("_resources"));
}

QString TileBitmapNativePath(const QString& folder, std::string_view cell)
{
    const std::string file = TileBitmapFile(cell);
    if (file.empty())
        return {};
    return ui::ResourceFilePath(folder + QLatin1Char('\\') + ui::TextFromBytes(file));
}

} // namespace hollenby::cli
