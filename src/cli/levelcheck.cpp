#include "levelcheck.h"

#include "clierror.h"
#include "files.h"
#include "inputfile.h"
#include "level.h"
#include "levelinput.h"
#include "levelrows.h"
#include "picture.h"
#include "runtimeerror.h"
#include "tileset.h"

#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cstring>
#include <map>

namespace hollenby::cli {

namespace {

// The editor's scroll range is a signed 16-bit value: line count - 1 must fit.
constexpr std::size_t kMaxEditorLines = 32768;
constexpr int kTilePixels = 40;

// A cell as it can be shown in one line of text: control bytes escaped, long cells cut short.
QString Quoted(std::string_view cell)
{
    constexpr std::size_t kShown = 16;
    QString text = QStringLiteral("\"");
    for (const char c : cell.substr(0, kShown)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '"' || byte == '\\')
            text += QStringLiteral("\\") + QLatin1Char(c);
        else if (byte < 0x20 || byte >= 0x7F)
            text += QStringLiteral("\\x%1").arg(byte, 2, 16, QLatin1Char('0'));
        else
            text += QLatin1Char(c);
    }
    if (cell.size() > kShown)
        text += QStringLiteral("...");
    return text + QLatin1Char('"');
}

// The code a typing slip most likely meant: the cell read with look-alike characters ("0l",
// "O1", "9B"), else the one code that differs from it in a single character. Empty when there is
// no such code or several.
QString NearestCode(std::string_view cell)
{
    if (cell.size() > 2)
        return {};
    static const std::string_view kLookAlikes[][2] = {{"lIi|!", "1"}, {"OoQD", "0"}, {"Ss", "5"},
                                                      {"B", "8"},     {"Zz", "2"},   {"G", "6"},
                                                      {"gq", "9"}};
    std::string readAs(cell);
    for (char& c : readAs) {
        for (const auto& [shapes, digit] : kLookAlikes) {
            if (shapes.find(c) != std::string_view::npos)
                c = digit[0];
        }
    }
    if (readAs.size() == 1)
        readAs = "0" + readAs; // "7" for "07"
    if (readAs != cell && TileIndex(readAs) >= 0)
        return QString::fromStdString(readAs);
    QString near;
    for (const std::string_view code : TileCodes()) {
        if (cell.size() != code.size() || (cell[0] != code[0]) + (cell[1] != code[1]) != 1)
            continue;
        if (!near.isEmpty())
            return {};
        near = ui::TextFromBytes(code);
    }
    return near;
}

// The cell without its spaces and tabs, when it is short enough to be a code written loosely.
std::string WithoutBlanks(std::string_view cell)
{
    std::string compact;
    if (cell.size() > 8)
        return compact;
    for (const char c : cell) {
        if (c != ' ' && c != '\t')
            compact.push_back(c);
    }
    return compact;
}

class Checker
{
public:
    Checker(const LevelText& level, const QString& folder) : m_level(level), m_folder(folder) {}

    std::vector<Finding> run()
    {
        // Anything read from a binary file would be noise.
        if (const std::size_t nul = m_level.bytes().find('\0'); nul != std::string::npos) {
            const auto [line, column] = m_level.place(nul);
            add(line, column, Severity::Error, QStringLiteral("binary"),
                QStringLiteral("a NUL byte: this is a binary file, not a level"));
            return std::move(m_findings);
        }
        lineEnds();
        const auto& lines = m_level.lines();
        if (lines.size() > kMaxEditorLines) {
            add(kMaxEditorLines + 1, 1, Severity::Error, QStringLiteral("too-many-lines"),
                QStringLiteral("the level has %1 lines; the editor loads at most %2")
                    .arg(lines.size())
                    .arg(kMaxEditorLines));
        }
        walkLines();
        // Nothing to draw is surely not what anyone meant to ship.
        if (m_rows == 0) {
            add(1, 1, Severity::Error, QStringLiteral("no-rows"),
                QStringLiteral("the level has no rows: nothing is drawn"));
        } else if (std::all_of(m_uses.begin(), m_uses.end(),
                               [](std::int64_t n) { return n == 0; })) {
            add(1, 1, Severity::Error, QStringLiteral("no-tiles"),
                QStringLiteral("no cell of the level is a tile code: nothing is drawn"));
        }
        bitmaps();
        for (const auto& [id, count] : m_counts) {
            if (count > kMaxFindingsPerId) {
                add(1, 1, Severity::Note, id,
                    QStringLiteral("%1 more [%2] findings not shown")
                        .arg(count - kMaxFindingsPerId)
                        .arg(id),
                    true);
            }
        }
        std::stable_sort(m_findings.begin(), m_findings.end(),
                         [](const Finding& a, const Finding& b) {
                             return a.line != b.line ? a.line < b.line : a.column < b.column;
                         });
        return std::move(m_findings);
    }

private:
    const LevelText& m_level;
    const QString& m_folder;
    std::vector<Finding> m_findings;
    std::map<QString, int> m_counts;
    std::int64_t m_rows = 0;
    // Per tile code: how many drawn cells use it and where the first one is.
    std::array<std::int64_t, kTileCodeCount> m_uses{};
    std::array<std::pair<std::int64_t, std::int64_t>, kTileCodeCount> m_firstUse{};

    void add(std::int64_t line, std::int64_t column, Severity severity, const QString& id,
             const QString& message, bool summary = false)
    {
        if (!summary && ++m_counts[id] > kMaxFindingsPerId)
            return;
        m_findings.push_back({m_level.path(), line, column, severity, message, id});
    }

    void lineEnds()
    {
        const std::string& bytes = m_level.bytes();
        // A CR not followed by LF, and an LF not preceded by CR; memchr keeps this at memory speed.
        const auto scan = [&bytes](char wanted, auto lone) {
            std::pair<std::size_t, std::int64_t> found{std::string::npos, 0};
            const char* begin = bytes.data();
            const char* end = begin + bytes.size();
            for (const char* at = begin;
                 (at = static_cast<const char*>(
                      std::memchr(at, wanted, static_cast<std::size_t>(end - at)))) != nullptr;
                 ++at) {
                const auto offset = static_cast<std::size_t>(at - begin);
                if (lone(offset) && found.second++ == 0)
                    found.first = offset;
            }
            return found;
        };
        const auto cr = scan('\r', [&bytes](std::size_t i) {
            return i + 1 == bytes.size() || bytes[i + 1] != '\n';
        });
        const auto lf =
            scan('\n', [&bytes](std::size_t i) { return i == 0 || bytes[i - 1] != '\r'; });
        reportLineEnd("CR", cr.first, cr.second);
        reportLineEnd("LF", lf.first, lf.second);
    }

    void reportLineEnd(const char* name, std::size_t first, std::int64_t count)
    {
        if (count == 0)
            return;
        const auto [line, column] = m_level.place(first);
        QString message = QStringLiteral("line end is a lone %1").arg(QLatin1String(name));
        if (count > 1)
            message += QStringLiteral(" (and %1 more)").arg(count - 1);
        message += QStringLiteral(": the editor and the game end lines only at CR LF, so the "
                                  "lines around it run together as one");
        add(line, column, Severity::Error, QStringLiteral("line-end"), message);
    }

    void walkLines()
    {
        const auto& lines = m_level.lines();
        // The empty lines at the end; the one after a final CR LF is what any text file has.
        std::size_t trailing = lines.size();
        while (trailing > 0 && lines[trailing - 1].empty())
            --trailing;
        if (lines.size() - trailing >= 2) {
            add(static_cast<std::int64_t>(trailing) + 1, 1, Severity::Warning,
                QStringLiteral("trailing-empty-lines"),
                QStringLiteral("%1 empty lines at the end (each save in the editor adds one); "
                               "each counts as a line, lengthening the estimate and the empty "
                               "stretch before play starts")
                    .arg(lines.size() - trailing - 1));
        }

        std::vector<std::string_view> cells;
        for (std::size_t i = 0; i < trailing; ++i) {
            const std::string_view line = lines[i];
            const auto number = static_cast<std::int64_t>(i) + 1;
            if (line.empty()) {
                std::size_t end = i;
                while (end < trailing && lines[end].empty())
                    ++end;
                add(number, 1, Severity::Note, QStringLiteral("blank-line"),
                    QStringLiteral("%1: no place in the grid, but each counts as a line for the "
                                   "estimate and the start of play")
                        .arg(end - i == 1 ? QStringLiteral("blank line")
                                          : QStringLiteral("%1 blank lines").arg(end - i)));
                i = end - 1;
                continue;
            }
            if (line.front() == ',') {
                add(number, 1, Severity::Warning, QStringLiteral("not-a-row"),
                    QStringLiteral("line starts with \",\", so it is not a row and none of its "
                                   "cells is drawn"));
                continue;
            }
            if (!IsLevelRowLine(line)) {
                add(number, 1, Severity::Warning, QStringLiteral("not-a-row"),
                    QStringLiteral("line has more than %1 cells, so it is not a row and none of "
                                   "them is drawn")
                        .arg(kMaxRowCells));
                continue;
            }
            ++m_rows;
            SplitLevelCells(line, cells);
            for (std::size_t c = 0; c < cells.size() && c < kColumns; ++c)
                cell(number, cells[c].data() - line.data() + 1, cells[c]);
            if (cells.size() > kColumns) {
                add(number, cells[kColumns].data() - line.data() + 1, Severity::Warning,
                    QStringLiteral("long-row"),
                    QStringLiteral("row has %1 cells; only the first %2 are drawn")
                        .arg(cells.size())
                        .arg(kColumns));
            }
        }
    }

    void cell(std::int64_t line, std::int64_t column, std::string_view text)
    {
        const int index = TileIndex(text);
        if (index >= 0) {
            if (m_uses[static_cast<std::size_t>(index)]++ == 0)
                m_firstUse[static_cast<std::size_t>(index)] = {line, column};
            return;
        }
        // The two ways of writing a blank slot on purpose: "01,,03", and the "00" that import
        // writes for an empty map cell.
        if (text.empty() || text == "00")
            return;
        const std::string compact = WithoutBlanks(text);
        if (compact.size() != text.size() && TileIndex(compact) >= 0) {
            const auto blank = static_cast<std::int64_t>(text.find_first_of(" \t"));
            add(line, column + blank, Severity::Warning, QStringLiteral("whitespace"),
                QStringLiteral("%1 has a space or tab; cells are not trimmed, so it is a blank "
                               "slot, not %2")
                    .arg(Quoted(text), ui::TextFromBytes(compact)));
            return;
        }
        QString message =
            Quoted(text) + QStringLiteral(" is not a tile code, so it is a blank slot");
        const QString near = NearestCode(text);
        if (!near.isEmpty())
            message += QStringLiteral(" (did you mean %1?)").arg(near);
        add(line, column, Severity::Warning, QStringLiteral("unknown-code"), message);
    }

    void bitmaps()
    {
        const QFileInfo folder(ui::NativePath(m_folder));
        if (!folder.isDir()) {
            add(1, 1, Severity::Error, QStringLiteral("missing-resources"),
                QStringLiteral("resources folder %1 %2; every tile is a blank slot")
                    .arg(m_folder, folder.exists() ? QStringLiteral("is not a folder")
                                                   : QStringLiteral("does not exist")));
            return;
        }
        const auto& codes = TileCodes();
        for (std::size_t i = 0; i < codes.size(); ++i) {
            if (m_uses[i] == 0)
                continue;
            const auto [line, column] = m_firstUse[i];
            const QString path = TileBitmapNativePath(m_folder, codes[i]);
            try {
                const QImage picture = TileSet::LoadBitmap(path);
                if (picture.width() != kTilePixels || picture.height() != kTilePixels) {
                    add(line, column, Severity::Warning, QStringLiteral("bitmap-size"),
                        QStringLiteral("%1 is %2 x %3 pixels; tiles are laid out 40 x 40, so it "
                                       "overlaps its neighbours or leaves gaps")
                            .arg(path)
                            .arg(picture.width())
                            .arg(picture.height()));
                }
            } catch (const FileKindError& error) {
                add(line, column, Severity::Error, QStringLiteral("bad-bitmap"),
                    error.message() + QStringLiteral("; the editor stops drawing at the first %1")
                                          .arg(ui::TextFromBytes(codes[i])));
            } catch (const CliError& error) {
                add(line, column, Severity::Error, QStringLiteral("bad-bitmap"),
                    error.message() + QStringLiteral("; the tile shows what its decoder made up"));
            } catch (const ui::RuntimeError& error) {
                if (error.number() == ui::RuntimeError::kFileNotFound) {
                    add(line, column, Severity::Error, QStringLiteral("missing-bitmap"),
                        QStringLiteral("no bitmap for %1: %2 is missing, so its %3 cells are "
                                       "blank slots")
                            .arg(ui::TextFromBytes(codes[i]), path)
                            .arg(m_uses[i]));
                } else {
                    add(line, column, Severity::Error, QStringLiteral("bad-bitmap"),
                        QStringLiteral("%1: %2; the editor stops drawing at the first %3")
                            .arg(path, ReasonText(error), ui::TextFromBytes(codes[i])));
                }
            }
        }
    }
};

} // namespace

std::vector<Finding> CheckLevel(const LevelText& level, const QString& resourcesFolder)
{
    return Checker(level, resourcesFolder).run();
}

} // namespace hollenby::cli
