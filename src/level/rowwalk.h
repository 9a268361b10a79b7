#pragma once
// The one walk over a level's lines that both the editor's render view and the play window's
// frames take. They differ only in their geometry and in what the visitor does at each step.

#include <cstdint>
#include <limits>
#include <string_view>
#include <vector>

#include "level.h"

namespace hollenby {

inline constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();

struct RowWalkGeometry
{
    std::int32_t firstRowValue; // position of row 1
    std::int32_t firstTop;      // Top of the first drawn row
    std::int32_t columnPitch;
    std::int32_t rowPitch;
    std::int32_t maxColumns;
};

// The visitor provides:
//   void beforeLine();                  at the start of every line looked at
//   void beforeCell();                  before every cell of a drawn row, the one past the last
//                                       drawn column included
//   void placeTile(std::int32_t index, std::int32_t left, std::int32_t top,
//                  std::string_view cell);  one slot of a drawn row, index counting from 0
//   bool viewFull(std::int32_t nextTop); after every line; true stops the walk
//   void overflow();                    a row position or Top would leave the signed 32-bit
//                                       range; the walk stops after it returns
// Rows whose position is at least `start` are drawn. The visitor may throw to end the walk.
// Returns the number of tiles placed.
template <class Visitor>
std::int32_t WalkLevelRows(const std::vector<std::string_view>& lines, std::int32_t start,
                           const RowWalkGeometry& geometry, Visitor& visitor)
{
    std::int32_t rowValue = geometry.firstRowValue;
    std::int32_t top = geometry.firstTop;
    std::int32_t index = 0;
    std::vector<std::string_view> cells;
    for (const std::string_view line : lines) {
        visitor.beforeLine();
        // Only drawn rows need their cells; the rest need only know whether they are rows.
        if (IsLevelRowLine(line)) {
            const bool drawn = rowValue >= start;
            if (drawn) {
                SplitLevelCells(line, cells);
                std::int32_t left = 0;
                std::int32_t column = 0;
                for (const std::string_view cell : cells) {
                    visitor.beforeCell();
                    if (column == geometry.maxColumns)
                        break;
                    visitor.placeTile(index, left, top, cell);
                    left += geometry.columnPitch;
                    ++index;
                    ++column;
                }
                if (top > kInt32Max - geometry.rowPitch) {
                    visitor.overflow();
                    break;
                }
                top += geometry.rowPitch;
            }
            if (rowValue > kInt32Max - geometry.rowPitch) {
                visitor.overflow();
                break;
            }
            rowValue += geometry.rowPitch;
        }
        if (visitor.viewFull(top))
            break;
    }
    return index;
}

} // namespace hollenby
