#pragma once
// The rows of a level reduced to what a picture needs: for each drawn row, which tile each of
// its eight column slots shows. Small enough to hold for the longest level a command may read.

#include <QString>

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace hollenby::cli {

inline constexpr int kColumns = 8;
inline constexpr int kTileCodeCount = 22;

// The position of a tile code in TileCodes(), or -1 for any other text.
int TileIndex(std::string_view cell);

// One drawn row: a tile index per column, -1 for a blank slot (not a code) or a missing cell.
struct RowSlots
{
    std::array<std::int8_t, kColumns> tile;
};

// The level's rows in file order, found by the same walk the play window takes: lines that are
// not rows take no place, cells after the eighth are not drawn. Throws CliError naming `path`
// when there are more rows than positions in a signed 32-bit count.
std::vector<RowSlots> LevelRowSlots(const std::vector<std::string_view>& lines,
                                    const QString& path);

// The same rows for a picture, which needs something to draw: throws CliError naming `path` when
// the level has no row (a picture cannot be 0 pixels high) or not a single tile code (a text file
// that is not a level, most likely).
std::vector<RowSlots> DrawableRowSlots(const std::vector<std::string_view>& lines,
                                       const QString& path);

// Which tile codes the rows show, by TileIndex.
std::array<bool, kTileCodeCount> UsedTiles(std::span<const RowSlots> rows);

} // namespace hollenby::cli
