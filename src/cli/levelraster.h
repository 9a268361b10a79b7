#pragma once
// Draws a level's rows as one tall picture, one pixel row at a time, so that a picture of any
// length can be made in pieces and streamed out. Rows are laid out as a window tall enough for
// the whole level would show them: the first row at the top, tiles at their own size, later
// tiles over earlier ones, blank slots left as they are.

#include "levelrows.h"
#include "tileset.h"

#include <QtGlobal>

#include <cstdint>
#include <optional>
#include <span>

namespace hollenby::cli {

struct RasterLayout
{
    int columnPitch; // pixels between the left edges of two columns
    int rowPitch;    // pixels between the tops of two rows
    int width;       // eight tiles: seven pitches and one tile
};

// The play window's grid: tiles 40 px apart, 320 px wide.
RasterLayout PlayLayout();
// The editor's render view: columns 39 px apart (585 twips), rows 40 px, 313 px wide.
RasterLayout EditorLayout();

class LevelRaster
{
public:
    // `background` (0xRRGGBB) fills what no tile covers; without it that stays transparent.
    LevelRaster(std::span<const RowSlots> rows, const TileSet& tiles, RasterLayout layout,
                std::optional<std::uint32_t> background);

    int width() const { return m_layout.width; }
    int rowPitch() const { return m_layout.rowPitch; }
    std::span<const RowSlots> rows() const { return m_rows; }
    const TileSet& tiles() const { return m_tiles; }
    std::int64_t height() const;

    // Pixel row `y` (0 <= y < height()) as width() premultiplied RGBA8888 pixels.
    void drawRow(std::int64_t y, uchar* pixels) const;

private:
    std::span<const RowSlots> m_rows;
    const TileSet& m_tiles;
    RasterLayout m_layout;
    std::optional<std::uint32_t> m_background;
};

} // namespace hollenby::cli
