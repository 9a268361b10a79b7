#include "levelfix.h"

#include "check/cellfinding.h"
#include "check/findingkinds.h"
#include "level.h"
#include "levelrows.h"

namespace hollenby::cli {

namespace {

struct Line
{
    std::string_view text;
    std::size_t end = 0; // where the line and its separator end
};

// The lines as the level has them once fixed: cut at CR LF, and at a lone LF or CR too when
// those become CR LF. Each lone one found is an edit.
std::vector<Line> FixedLines(std::string_view text, bool lineEnds, std::vector<TextEdit>& edits)
{
    std::vector<Line> lines;
    if (text.empty())
        return lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::size_t separator = 0;
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            separator = 2;
        } else if (lineEnds && (text[i] == '\r' || text[i] == '\n')) {
            separator = 1;
            edits.push_back({i, 1, "\r\n", &finding::kLineEnd});
        }
        if (separator == 0)
            continue;
        lines.push_back({text.substr(start, i - start), i + separator});
        start = i + separator;
        i += separator - 1;
    }
    // After a final separator the level has one more, empty, line, as SplitLevelLines gives.
    lines.push_back({text.substr(start), text.size()});
    return lines;
}

} // namespace

std::vector<TextEdit> LevelFixes(std::string_view text, const FixOptions& options)
{
    const auto fixes = [&options](const FindingKind& kind) {
        return !options.fixes || options.fixes(kind);
    };
    std::vector<TextEdit> lineEnds;
    const std::vector<Line> lines = FixedLines(text, options.lineEnds, lineEnds);

    // The empty lines at the end; the one after a final CR LF is what any text file has.
    std::size_t kept = lines.size();
    while (kept > 0 && lines[kept - 1].text.empty())
        --kept;
    std::size_t cut = text.size();
    if (lines.size() - kept >= 2 && fixes(finding::kTrailingEmptyLines))
        cut = lines[kept].text.data() - text.data();

    std::vector<TextEdit> edits;
    auto lineEnd = lineEnds.begin();
    std::vector<std::string_view> cells;
    for (std::size_t i = 0; i < kept; ++i) {
        const std::string_view line = lines[i].text;
        if (IsLevelRowLine(line)) {
            SplitLevelCells(line, cells);
            // Only what is drawn: the cells after the eighth mean nothing to the game.
            for (std::size_t c = 0; c < cells.size() && c < kColumns; ++c) {
                const std::string_view cell = cells[c];
                const std::size_t at = cell.data() - text.data();
                if (std::string code = CodeWithoutBlanks(cell);
                    !code.empty() && fixes(finding::kWhitespace))
                    edits.push_back({at, cell.size(), std::move(code), &finding::kWhitespace});
                else if (std::string near = LookAlikeCode(cell);
                         !near.empty() && fixes(finding::kUnknownCode))
                    edits.push_back({at, cell.size(), std::move(near), &finding::kUnknownCode});
            }
        }
        for (; lineEnd != lineEnds.end() && lineEnd->offset < lines[i].end; ++lineEnd)
            edits.push_back(*lineEnd);
    }
    // The line ends among the empty lines left at the end stay with them, or go with them.
    for (; lineEnd != lineEnds.end(); ++lineEnd) {
        if (lineEnd->offset < cut)
            edits.push_back(*lineEnd);
    }
    if (cut < text.size())
        edits.push_back({cut, text.size() - cut, {}, &finding::kTrailingEmptyLines});
    return edits;
}

} // namespace hollenby::cli
