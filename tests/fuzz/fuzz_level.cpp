// Any byte string is a level: splitting never fails, and the pieces give the text back.

#include "grid.h"
#include "level.h"
#include "rowwalk.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

struct CountingVisitor
{
    std::int32_t placed = 0;
    void beforeLine() {}
    void beforeCell() {}
    void placeTile(std::int32_t, std::int32_t left, std::int32_t top, std::string_view cell)
    {
        Require(left >= 0 && top >= 0);
        (void)hollenby::TileBitmapFile(cell);
        ++placed;
    }
    bool viewFull(std::int32_t nextTop) const { return nextTop >= 8400; }
    void overflow() {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto lines = hollenby::SplitLevelLines(text);

    std::string rejoined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i != 0)
            rejoined += "\r\n";
        rejoined += lines[i];
    }
    Require(rejoined == text);

    std::int64_t lineEnds = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string_view::npos;
         at = text.find("\r\n", at + 2))
        ++lineEnds;
    Require(hollenby::LevelLineCount(text) == (text.empty() ? 0 : lineEnds + 1));
    Require(static_cast<std::int64_t>(lines.size()) == hollenby::LevelLineCount(text));

    for (const auto line : lines) {
        const auto cells = hollenby::SplitLevelCells(line);
        std::string joined;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (i != 0)
                joined += ',';
            joined += cells[i];
        }
        Require(joined == line);
        Require(hollenby::IsLevelRow(cells) == hollenby::IsLevelRowLine(line));
    }

    CountingVisitor visitor;
    const std::int32_t start = size > 0 ? static_cast<std::int32_t>(data[0]) * 600 : 0;
    const auto placed = hollenby::WalkLevelRows(lines, start, hollenby::grid::kEditorWalk, visitor);
    Require(placed == visitor.placed && placed <= 14 * 8);
    return 0;
}
