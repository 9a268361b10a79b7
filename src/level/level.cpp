#include "level.h"

#include <algorithm>
#include <array>

namespace hollenby {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

struct TileEntry
{
    std::string_view code;
    std::string_view file;
};

constexpr std::array<TileEntry, 22> kTiles{{
    {"01", "01.bmp"},
    {"02", "02.bmp"},
    {"03", "03.bmp"},
    {"04", "04.bmp"},
    {"05", "05.bmp"},
    {"06", "06.bmp"},
    {"07", "07.bmp"},
    {"08", "08.bmp"},
    {"09", "09.bmp"},
    {"10", "10.bmp"},
    {"11", "11.bmp"},
    {"12", "12.bmp"},
    {"13", "13.bmp"},
    {"14", "14.bmp"},
    {"15", "15.bmp"},
    {"16", "16.bmp"},
    {"17", "17.bmp"},
    {"18", "18.bmp"},
    {"19", "19.bmp"},
    {"20", "20.bmp"},
    {"98", "bmpOBJ_WarnOpen.bmp"},
    {"99", "bmpOBJ_WarnFunnel.bmp"},
}};

} // namespace

std::vector<std::string_view> SplitLevelLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    if (text.empty())
        return lines;
    lines.reserve(static_cast<std::size_t>(LevelLineCount(text)));
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(kLineEnd, start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            return lines;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + kLineEnd.size();
    }
}

std::int64_t LevelLineCount(std::string_view text)
{
    if (text.empty())
        return 0;
    std::int64_t count = 1;
    for (std::size_t at = text.find(kLineEnd); at != std::string_view::npos;
         at = text.find(kLineEnd, at + kLineEnd.size()))
        ++count;
    return count;
}

void SplitLevelCells(std::string_view line, std::vector<std::string_view>& cells)
{
    cells.clear();
    if (line.empty())
        return;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = line.find(',', start);
        if (end == std::string_view::npos) {
            cells.push_back(line.substr(start));
            return;
        }
        cells.push_back(line.substr(start, end - start));
        start = end + 1;
    }
}

std::vector<std::string_view> SplitLevelCells(std::string_view line)
{
    std::vector<std::string_view> cells;
    SplitLevelCells(line, cells);
    return cells;
}

bool IsLevelRow(const std::vector<std::string_view>& cells)
{
    return !cells.empty() && cells.size() <= kMaxRowCells && !cells.front().empty();
}

bool IsLevelRowLine(std::string_view line)
{
    if (line.empty() || line.front() == ',')
        return false;
    // n commas make n + 1 cells.
    const auto commas = static_cast<std::size_t>(std::count(line.begin(), line.end(), ','));
    return commas + 1 <= kMaxRowCells;
}

std::string TileBitmapFile(std::string_view cell)
{
    for (const TileEntry& tile : kTiles) {
        if (tile.code == cell)
            return std::string(tile.file);
    }
    return {};
}

std::string TileBitmapPath(std::string_view folder, std::string_view cell)
{
    std::string file = TileBitmapFile(cell);
    if (file.empty())
        return {};
    std::string path;
    path.reserve(folder.size() + 1 + file.size());
    path.append(folder).append("\\").append(file);
    return path;
}

const std::vector<std::string_view>& TileCodes()
{
    static const std::vector<std::string_view> codes = [] {
        std::vector<std::string_view> all;
        for (const TileEntry& tile : kTiles)
            all.push_back(tile.code);
        return all;
    }();
    return codes;
}

} // namespace hollenby
