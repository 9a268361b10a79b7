#pragma once
// The tile bitmaps a picture needs, each decoded once for the length of a command (the window
// reads them afresh for every tile; a command drawing thousands of rows need not).

#include "levelrows.h"

#include <QImage>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace hollenby::cli {

using TileUse = std::array<bool, kTileCodeCount>; // by TileIndex

class TileSet
{
public:
    // What a code without a usable bitmap draws.
    enum class Fallback
    {
        Blank,     // nothing, as in the editor; a bitmap that exists but does not decode fails
        FlatColour // a flat tile in the code's own colour, whatever went wrong
    };

    // Decodes the bitmaps in `folder` (none when it is empty) of the codes marked in `used`.
    // With Blank, a missing file leaves its code blank and anything else that keeps a bitmap
    // from decoding (a folder in its place, a truncated file) throws CliError naming the bitmap.
    TileSet(const QString& folder, const TileUse& used, Fallback fallback);

    // The picture of tile `index`, premultiplied RGBA8888; null for a blank.
    const QImage* tile(int index) const;
    int maxHeight() const { return m_maxHeight; }
    bool allOpaque() const { return m_allOpaque; }
    // A colour that no pixel of any tile has, to stand for transparency in a picture without an
    // alpha channel; nothing when the tiles use every colour there is.
    std::optional<std::uint32_t> unusedColour() const;

    // The colour a code is drawn in when it has no bitmap: a hue of its own.
    static std::uint32_t FlatColour(int index);

    // Decodes a tile bitmap as the editor does (throwing ui::RuntimeError as it does), but first
    // refuses a file that is no regular file (FileKindError: a folder, a FIFO, a device, a
    // symlink loop, each named), and then a BMP whose pixels stop short of what its header
    // says, which the decoder would fill in silently (CliError). Both name the file.
    static QImage LoadBitmap(const QString& path);

private:
    std::array<QImage, kTileCodeCount> m_tiles;
    int m_maxHeight = 0;
    bool m_allOpaque = true;
};

} // namespace hollenby::cli
