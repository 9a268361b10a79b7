#include "levelinput.h"

#include "clierror.h"
#include "files.h"
#include "grid.h"
#include "inputfile.h"
#include "level.h"
#include "resourcefiles.h"
#include "rowwalk.h"
#include "runtimeerror.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

namespace hollenby::cli {

QString LevelName(const QString& argument, const QString& stdinName)
{
    if (!IsStandardInput(argument))
        return argument;
    return stdinName.isEmpty() ? QStringLiteral("<stdin>") : stdinName;
}

LevelText::LevelText(const QString& path, const QString& name)
    : m_path(path), m_name(name.isEmpty() ? path : name)
{
    m_bytes = ReadInputFile(
        path, kMaxLevelBytes,
        [](qint64) {
            return QStringLiteral("larger than %1 GiB, far more than any level the editor loads")
                .arg(kMaxLevelBytes >> 30);
        },
        m_name);
    m_lines = SplitLevelLines(m_bytes);
}

LevelText::LevelText(const QString& path, std::size_t rows) : m_path(path), m_name(path)
{
    std::size_t lineStart = 0; // the first line not yet looked at
    std::size_t found = 0;
    std::size_t end = std::string::npos;
    try {
        ui::ReadFilePieces(path, [&](std::string_view piece) {
            // A CR LF may be split between two pieces.
            std::size_t search = std::max(lineStart, m_bytes.empty() ? 0 : m_bytes.size() - 1);
            m_bytes.append(piece);
            for (std::size_t crlf; (crlf = m_bytes.find("\r\n", search)) != std::string::npos;) {
                const std::string_view line(m_bytes.data() + lineStart, crlf - lineStart);
                if (IsLevelRowLine(line) && ++found == rows) {
                    end = crlf;
                    return false;
                }
                lineStart = search = crlf + 2;
            }
            return true;
        });
    } catch (const ui::RuntimeError& error) {
        Fail(path, ReasonText(error));
    }
    if (end != std::string::npos) {
        m_bytes.resize(end);
        m_whole = false;
    }
    m_lines = SplitLevelLines(m_bytes);
}

std::pair<std::int64_t, std::int64_t> LevelText::place(std::size_t offset) const
{
    if (!m_lineFeedsFound) {
        const char* begin = m_bytes.data();
        const char* end = begin + m_bytes.size();
        for (const char* at = begin;
             (at = static_cast<const char*>(std::memchr(at, '\n', std::size_t(end - at)))) !=
             nullptr;
             ++at)
            m_lineFeeds.push_back(std::size_t(at - begin));
        m_lineFeedsFound = true;
    }
    const auto before = std::lower_bound(m_lineFeeds.begin(), m_lineFeeds.end(), offset);
    const std::size_t lineStart = before == m_lineFeeds.begin() ? 0 : *(before - 1) + 1;
    return {before - m_lineFeeds.begin() + 1, std::int64_t(offset - lineStart) + 1};
}

void LevelText::requireText() const
{
    const std::size_t nul = m_bytes.find('\0');
    if (nul == std::string::npos)
        return;
    const auto [line, column] = place(nul);
    Fail(m_name, QStringLiteral("not a level but a binary file (a NUL byte at line %1, column %2)")
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
