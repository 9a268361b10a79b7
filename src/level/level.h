#pragma once
// The level text format: a level is any byte string. Lines are cut at CR LF only, cells at ",".
// Nothing here fails, trims or converts: byte n of a file is character n of the text.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hollenby {

// The most cells a line may have and still count as a row: the count is a signed 16-bit value.
inline constexpr std::size_t kMaxRowCells = 32767;

// Every piece between CR LF separators, empty pieces included. An empty text has no lines.
// The views point into `text`, which must outlive them.
std::vector<std::string_view> SplitLevelLines(std::string_view text);

// The number of pieces SplitLevelLines yields, without building them.
std::int64_t LevelLineCount(std::string_view text);

// Every piece between "," separators, empty pieces included. An empty line has no cells.
std::vector<std::string_view> SplitLevelCells(std::string_view line);
// The same into a vector the caller reuses, so a walk over many lines allocates once.
void SplitLevelCells(std::string_view line, std::vector<std::string_view>& cells);

// A row has from 1 to kMaxRowCells cells and a non-empty first cell.
bool IsLevelRow(const std::vector<std::string_view>& cells);
// The same answer taken from the line itself, without splitting it.
bool IsLevelRowLine(std::string_view line);

// The bitmap file name of a tile code ("01".."20", "98", "99"), empty for any other text.
std::string TileBitmapFile(std::string_view cell);

// folder + "\" + TileBitmapFile(cell), the folder used exactly as given; empty when the cell is
// not a tile code.
std::string TileBitmapPath(std::string_view folder, std::string_view cell);

// The codes in table order, for presenting and testing the table.
const std::vector<std::string_view>& TileCodes();

} // namespace hollenby
