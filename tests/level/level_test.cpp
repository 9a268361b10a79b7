// Level format behaviour, as data rows named by what they show.

#include <string>
#include <string_view>
#include <vector>

#include "check.h"
#include "grid.h"
#include "level.h"
#include "rowwalk.h"

using namespace hollenby;
using namespace std::string_literals;
using Strings = std::vector<std::string>;

namespace {

Strings ToStrings(const std::vector<std::string_view>& views)
{
    return Strings(views.begin(), views.end());
}

struct LineCase
{
    const char* name;
    std::string text;
    Strings lines;
    int rows;
};

void Lines()
{
    const std::vector<LineCase> cases = {
        {"empty text has no lines", "", {}, 0},
        {"one line without an ending", "01,02", {"01,02"}, 1},
        {"final CR LF counts an empty last line", "01\r\n02\r\n", {"01", "02", ""}, 2},
        {"blank lines are counted but are no rows", "01\r\n\r\n\r\n02", {"01", "", "", "02"}, 2},
        {"LF-only file is one line", "01\n02\n03", {"01\n02\n03"}, 1},
        {"CR CR LF keeps the first CR", "01\r\r\n02", {"01\r", "02"}, 2},
        {"line starting with a comma is no row", ",01,02\r\n03", {",01,02", "03"}, 1},
        {"a single space is a row", " ", {" "}, 1},
        {"NUL and 8-bit bytes are plain text", "\0\xff\r\n\x80\r"s, {"\0\xff"s, "\x80\r"}, 2},
    };
    for (const LineCase& c : cases) {
        const auto lines = SplitLevelLines(c.text);
        check::Equal(ToStrings(lines), c.lines, c.name + " (lines)"s);
        check::Equal(LevelLineCount(c.text), static_cast<std::int64_t>(c.lines.size()),
                     c.name + " (count)"s);
        int rows = 0;
        for (const auto line : lines) {
            const bool row = IsLevelRow(SplitLevelCells(line));
            check::Equal(IsLevelRowLine(line), row, c.name + " (row test agrees)"s);
            rows += row ? 1 : 0;
        }
        check::Equal(rows, c.rows, c.name + " (rows)"s);
    }
}

struct CellCase
{
    const char* name;
    std::string line;
    Strings cells;
    bool row;
};

void Cells()
{
    const std::vector<CellCase> cases = {
        {"empty line has no cells", "", {}, false},
        {"trailing comma adds an empty cell", "01,02,", {"01", "02", ""}, true},
        {"leading comma makes no row", ",01", {"", "01"}, false},
        {"doubled comma keeps an empty cell", "01,,03", {"01", "", "03"}, true},
        {"cells kept untrimmed and case-exact",
         " 01,00,1,21,aB",
         {" 01", "00", "1", "21", "aB"},
         true},
        {"NUL and 8-bit bytes are cell text", "\0,\xff"s, {"\0"s, "\xff"}, true},
    };
    for (const CellCase& c : cases) {
        const auto cells = SplitLevelCells(c.line);
        check::Equal(ToStrings(cells), c.cells, c.name + " (cells)"s);
        check::Equal(IsLevelRow(cells), c.row, c.name + " (row)"s);
        check::Equal(IsLevelRowLine(c.line), c.row, c.name + " (row from line)"s);
    }

    auto cellsLine = [](std::size_t n) {
        std::string line = "01";
        for (std::size_t i = 1; i < n; ++i)
            line += ",01";
        return line;
    };
    const std::string longest = cellsLine(kMaxRowCells);
    const std::string tooLong = cellsLine(kMaxRowCells + 1);
    check::True(IsLevelRow(SplitLevelCells(longest)), "32 767 cells are a row");
    check::True(IsLevelRowLine(longest), "32 767 cells are a row (from line)");
    check::True(!IsLevelRow(SplitLevelCells(tooLong)), "32 768 cells are no row");
    check::True(!IsLevelRowLine(tooLong), "32 768 cells are no row (from line)");
}

void Tiles()
{
    struct TileCase
    {
        std::string cell;
        std::string file;
    };
    const std::vector<TileCase> cases = {
        {"01", "01.bmp"},
        {"98", "bmpOBJ_WarnOpen.bmp"},
        {"99", "bmpOBJ_WarnFunnel.bmp"},
        // Blank slots: anything not exactly a code of the table.
        {"00", ""},
        {"1", ""},
        {" 01", ""},
        {"01 ", ""},
        {"21", ""},
        {"", ""},
    };
    for (const TileCase& c : cases)
        check::Equal(TileBitmapFile(c.cell), c.file, "tile file of \"" + c.cell + "\"");

    check::Equal(TileBitmapPath("C:\\Res", "05"), "C:\\Res\\05.bmp"s, "path joined with \\");
    check::Equal(TileBitmapPath("/tmp/res/", "99"), "/tmp/res/\\bmpOBJ_WarnFunnel.bmp"s,
                 "folder's own trailing separator kept");
    check::Equal(TileBitmapPath("", "01"), "\\01.bmp"s, "empty folder still joined");
    check::Equal(TileBitmapPath("/tmp/res", "21"), ""s, "no path for a blank slot");
}

// Counts what a walk places and whether it saw its positions leave the 32-bit range.
struct Recorder
{
    int placed = 0;
    bool overflowed = false;
    void beforeLine() {}
    void beforeCell() {}
    void placeTile(std::int32_t, std::int32_t, std::int32_t, std::string_view) { ++placed; }
    bool viewFull(std::int32_t) const { return false; }
    void overflow() { overflowed = true; }
};

void Walk()
{
    // Row positions near the top of the range stop the walk instead of wrapping round.
    const std::vector<std::string_view> many(10, "01");
    Recorder far;
    const RowWalkGeometry tall{kInt32Max - 1000, 0, 1, 600, 8};
    WalkLevelRows(many, kInt32Max, tall, far);
    check::True(far.overflowed, "row position overflow reported");
    check::Equal(far.placed, 0, "nothing drawn past an overflow");
}

} // namespace

int main()
{
    Lines();
    Cells();
    Tiles();
    Walk();
    return check::Finish("level_test");
}
