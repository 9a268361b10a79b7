#include "levelrows.h"

#include "clierror.h"
#include "grid.h"
#include "level.h"
#include "rowwalk.h"

#include <algorithm>

namespace hollenby::cli {

int TileIndex(std::string_view cell)
{
    // Every code is two characters, so two bytes index a table built from the tile table once.
    static const std::vector<std::int8_t> table = [] {
        std::vector<std::int8_t> built(1 << 16, -1);
        const auto& codes = TileCodes();
        for (std::size_t i = 0; i < codes.size(); ++i) {
            const auto key = static_cast<unsigned char>(codes[i][0]) << 8 |
                             static_cast<unsigned char>(codes[i][1]);
            built[static_cast<std::size_t>(key)] = static_cast<std::int8_t>(i);
        }
        return built;
    }();
    if (cell.size() != 2)
        return -1;
    return table[static_cast<std::size_t>(static_cast<unsigned char>(cell[0]) << 8 |
                                          static_cast<unsigned char>(cell[1]))];
}

namespace {

class SlotCollector
{
public:
    SlotCollector(std::vector<RowSlots>& rows, const QString& path) : m_rows(rows), m_path(path) {}

    void beforeLine() {}
    void beforeCell() {}
    void placeTile(std::int32_t, std::int32_t left, std::int32_t, std::string_view cell)
    {
        const std::int32_t column = left / grid::kPlayPitch;
        if (column == 0) {
            m_rows.push_back({});
            m_rows.back().tile.fill(-1);
        }
        m_rows.back().tile[static_cast<std::size_t>(column)] =
            static_cast<std::int8_t>(TileIndex(cell));
    }
    bool viewFull(std::int32_t) const { return false; }
    void overflow() { Fail(m_path, QStringLiteral("more rows than a picture can hold")); }

private:
    std::vector<RowSlots>& m_rows;
    const QString& m_path;
};

} // namespace

std::vector<RowSlots> LevelRowSlots(const std::vector<std::string_view>& lines, const QString& path)
{
    std::vector<RowSlots> rows;
    SlotCollector collector(rows, path);
    // Every row's position is at least 0, so the play walk from 0 draws them all.
    WalkLevelRows(lines, 0, grid::kPlayWalk, collector);
    return rows;
}

std::vector<RowSlots> DrawableRowSlots(const std::vector<std::string_view>& lines,
                                       const QString& path)
{
    std::vector<RowSlots> rows = LevelRowSlots(lines, path);
    if (rows.empty())
        Fail(path, QStringLiteral("no rows to draw (a PNG cannot be 0 pixels high)"));
    const auto used = UsedTiles(rows);
    if (std::none_of(used.begin(), used.end(), [](bool u) { return u; }))
        Fail(path, QStringLiteral("no tiles to draw: none of its cells is a tile code"));
    return rows;
}

std::array<bool, kTileCodeCount> UsedTiles(std::span<const RowSlots> rows)
{
    std::array<bool, kTileCodeCount> used{};
    for (const RowSlots& row : rows) {
        for (const std::int8_t tile : row.tile) {
            if (tile >= 0)
                used[static_cast<std::size_t>(tile)] = true;
        }
    }
    return used;
}

} // namespace hollenby::cli
