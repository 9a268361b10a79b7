#include "levelraster.h"

#include "grid.h"

#include <algorithm>
#include <cstring>

namespace hollenby::cli {

namespace {

constexpr int kTilePixels = grid::kTileTemplateSize / grid::kTwipsPerPixel;

// Source-over for premultiplied pixels: the tile, then what it lets through of the row.
void Blend(const uchar* tile, uchar* row, int pixels)
{
    for (int i = 0; i < pixels * 4; i += 4) {
        const int keep = 255 - tile[i + 3];
        for (int k = 0; k < 4; ++k)
            row[i + k] = static_cast<uchar>(tile[i + k] + (row[i + k] * keep + 127) / 255);
    }
}

} // namespace

RasterLayout PlayLayout()
{
    return {grid::kPlayPitch, grid::kPlayPitch, 7 * grid::kPlayPitch + kTilePixels};
}

RasterLayout EditorLayout()
{
    const int pitch = grid::kColumnPitch / grid::kTwipsPerPixel;
    return {pitch, grid::kRowPitch / grid::kTwipsPerPixel, 7 * pitch + kTilePixels};
}

LevelRaster::LevelRaster(std::span<const RowSlots> rows, const TileSet& tiles, RasterLayout layout,
                         std::optional<std::uint32_t> background)
    : m_rows(rows), m_tiles(tiles), m_layout(layout), m_background(background)
{}

std::int64_t LevelRaster::height() const
{
    return static_cast<std::int64_t>(m_rows.size()) * m_layout.rowPitch;
}

void LevelRaster::drawRow(std::int64_t y, uchar* pixels) const
{
    const int width = m_layout.width;
    if (m_background) {
        const uchar rgba[4] = {static_cast<uchar>(*m_background >> 16),
                               static_cast<uchar>(*m_background >> 8),
                               static_cast<uchar>(*m_background), 255};
        for (int x = 0; x < width; ++x)
            std::memcpy(pixels + std::ptrdiff_t{4} * x, rgba, 4);
    } else {
        std::memset(pixels, 0, static_cast<std::size_t>(width) * 4);
    }
    // Tiles taller than the row pitch reach into the rows below their own.
    const std::int64_t pitch = m_layout.rowPitch;
    const std::int64_t reach = std::max<std::int64_t>(m_tiles.maxHeight(), 1);
    const std::int64_t first = std::max<std::int64_t>(0, (y - reach + pitch) / pitch);
    const std::int64_t last = std::min<std::int64_t>(y / pitch, std::ssize(m_rows) - 1);
    const bool opaque = m_tiles.allOpaque();
    for (std::int64_t r = first; r <= last; ++r) {
        const int tileRow = static_cast<int>(y - r * pitch);
        for (int column = 0; column < kColumns; ++column) {
            const QImage* tile = m_tiles.tile(m_rows[static_cast<std::size_t>(r)].tile[column]);
            if (tile == nullptr || tileRow >= tile->height())
                continue;
            const int left = column * m_layout.columnPitch;
            const int count = std::min(tile->width(), width - left);
            if (count <= 0)
                continue;
            const uchar* source = tile->constScanLine(tileRow);
            if (opaque)
                std::memcpy(pixels + std::ptrdiff_t{4} * left, source,
                            static_cast<std::size_t>(count) * 4);
            else
                Blend(source, pixels + std::ptrdiff_t{4} * left, count);
        }
    }
}

} // namespace hollenby::cli
