#include "levelcheck.h"

#include "cellfinding.h"
#include "clierror.h"
#include "files.h"
#include "findingkinds.h"
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
#include <optional>

namespace hollenby::cli {

namespace {

// The editor's scroll range is a signed 16-bit value: line count - 1 must fit.
constexpr std::size_t kMaxEditorLines = 32768;
constexpr int kTilePixels = 40;

class Checker
{
public:
    Checker(const LevelText& level, const QString& folder, const CheckSettings& settings)
        : m_level(level), m_folder(folder), m_findings(level, settings)
    {}

    LevelFindings run()
    {
        // Anything read from a binary file would be noise.
        if (const std::size_t nul = m_level.bytes().find('\0'); nul != std::string::npos) {
            m_findings.add(nul, finding::kBinary,
                           QStringLiteral("a NUL byte: this is a binary file, not a level"));
            return m_findings.take();
        }
        lineEnds();
        const auto& lines = m_level.lines();
        if (lines.size() > kMaxEditorLines) {
            add(lines[kMaxEditorLines], finding::kTooManyLines,
                QStringLiteral("the level has %1 lines; the editor loads at most %2")
                    .arg(lines.size())
                    .arg(kMaxEditorLines));
        }
        walkLines();
        // Nothing to draw is surely not what anyone meant to ship.
        if (m_rows == 0) {
            m_findings.add(0, finding::kNoRows,
                           QStringLiteral("the level has no rows: nothing is drawn"));
        } else if (std::all_of(m_uses.begin(), m_uses.end(),
                               [](std::int64_t n) { return n == 0; })) {
            m_findings.add(0, finding::kNoTiles,
                           QStringLiteral("no cell of the level is a tile code: nothing is drawn"));
        }
        bitmaps();
        return m_findings.take();
    }

private:
    const LevelText& m_level;
    const QString& m_folder;
    FindingList m_findings;
    std::int64_t m_rows = 0;
    // Per tile code: how many drawn cells use it and the byte offset of the first one.
    std::array<std::int64_t, kTileCodeCount> m_uses{};
    std::array<std::size_t, kTileCodeCount> m_firstUse{};

    // A finding at the start of `at`, a piece of the level's text.
    void add(std::string_view at, const FindingKind& kind, const QString& message)
    {
        m_findings.add(std::size_t(at.data() - m_level.bytes().data()), kind, message);
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
        QString message = QStringLiteral("line end is a lone %1").arg(QLatin1String(name));
        if (count > 1)
            message += QStringLiteral(" (and %1 more)").arg(count - 1);
        message += QStringLiteral(": the editor and the game end lines only at CR LF, so the "
                                  "lines around it run together as one");
        m_findings.add(first, finding::kLineEnd, message);
    }

    void walkLines()
    {
        const auto& lines = m_level.lines();
        // The empty lines at the end; the one after a final CR LF is what any text file has.
        std::size_t trailing = lines.size();
        while (trailing > 0 && lines[trailing - 1].empty())
            --trailing;
        if (lines.size() - trailing >= 2) {
            add(lines[trailing], finding::kTrailingEmptyLines,
                QStringLiteral("%1 empty lines at the end (each save in the editor adds one); "
                               "each counts as a line, lengthening the estimate and the empty "
                               "stretch before play starts")
                    .arg(lines.size() - trailing - 1));
        }

        std::vector<std::string_view> cells;
        for (std::size_t i = 0; i < trailing; ++i) {
            const std::string_view line = lines[i];
            if (line.empty()) {
                std::size_t end = i;
                while (end < trailing && lines[end].empty())
                    ++end;
                add(line, finding::kBlankLine,
                    QStringLiteral("%1: no place in the grid, but each counts as a line for the "
                                   "estimate and the start of play")
                        .arg(end - i == 1 ? QStringLiteral("blank line")
                                          : QStringLiteral("%1 blank lines").arg(end - i)));
                i = end - 1;
                continue;
            }
            if (line.front() == ',') {
                add(line, finding::kNotARow,
                    QStringLiteral("line starts with \",\", so it is not a row and none of its "
                                   "cells is drawn"));
                continue;
            }
            if (!IsLevelRowLine(line)) {
                add(line, finding::kNotARow,
                    QStringLiteral("line has more than %1 cells, so it is not a row and none of "
                                   "them is drawn")
                        .arg(kMaxRowCells));
                continue;
            }
            ++m_rows;
            SplitLevelCells(line, cells);
            for (std::size_t c = 0; c < cells.size() && c < kColumns; ++c)
                cell(cells[c]);
            if (cells.size() > kColumns) {
                add(cells[kColumns], finding::kLongRow,
                    QStringLiteral("row has %1 cells; only the first %2 are drawn")
                        .arg(cells.size())
                        .arg(kColumns));
            }
        }
    }

    void cell(std::string_view text)
    {
        const int index = TileIndex(text);
        if (index >= 0) {
            if (m_uses[static_cast<std::size_t>(index)]++ == 0)
                m_firstUse[static_cast<std::size_t>(index)] =
                    std::size_t(text.data() - m_level.bytes().data());
            return;
        }
        if (const std::optional<CellFinding> finding = FindingOfCell(text))
            add(text.substr(finding->at), *finding->kind, finding->message);
    }

    void bitmaps()
    {
        const QFileInfo folder(ui::NativePath(m_folder));
        if (!folder.isDir()) {
            m_findings.add(0, finding::kMissingResources,
                           QStringLiteral("resources folder %1 %2; every tile is a blank slot")
                               .arg(m_folder, folder.exists() ? QStringLiteral("is not a folder")
                                                              : QStringLiteral("does not exist")));
            return;
        }
        const auto& codes = TileCodes();
        for (std::size_t i = 0; i < codes.size(); ++i) {
            if (m_uses[i] == 0)
                continue;
            const std::size_t first = m_firstUse[i];
            const QString path = TileBitmapNativePath(m_folder, codes[i]);
            try {
                const QImage picture = TileSet::LoadBitmap(path);
                if (picture.width() != kTilePixels || picture.height() != kTilePixels) {
                    m_findings.add(
                        first, finding::kBitmapSize,
                        QStringLiteral("%1 is %2 x %3 pixels; tiles are laid out 40 x 40, so it "
                                       "overlaps its neighbours or leaves gaps")
                            .arg(path)
                            .arg(picture.width())
                            .arg(picture.height()));
                }
            } catch (const FileKindError& error) {
                m_findings.add(first, finding::kBadBitmap,
                               error.message() +
                                   QStringLiteral("; the editor stops drawing at the first %1")
                                       .arg(ui::TextFromBytes(codes[i])));
            } catch (const CliError& error) {
                m_findings.add(first, finding::kBadBitmap,
                               error.message() +
                                   QStringLiteral("; the tile shows what its decoder made up"));
            } catch (const ui::RuntimeError& error) {
                if (error.number() == ui::RuntimeError::kFileNotFound) {
                    m_findings.add(
                        first, finding::kMissingBitmap,
                        QStringLiteral("no bitmap for %1: %2 is missing, so its %3 cells are "
                                       "blank slots")
                            .arg(ui::TextFromBytes(codes[i]), path)
                            .arg(m_uses[i]));
                } else {
                    m_findings.add(
                        first, finding::kBadBitmap,
                        QStringLiteral("%1: %2; the editor stops drawing at the first %3")
                            .arg(path, ReasonText(error), ui::TextFromBytes(codes[i])));
                }
            }
        }
    }
};

} // namespace

LevelFindings CheckLevel(const LevelText& level, const QString& resourcesFolder,
                         const CheckSettings& settings)
{
    return Checker(level, resourcesFolder, settings).run();
}

} // namespace hollenby::cli
