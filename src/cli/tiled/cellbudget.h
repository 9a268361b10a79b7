#pragma once
// The cells one map may make a reader decode, all its tile layers and chunks together. Taken
// from the sizes the file declares, before any data is decoded, so that neither a huge layer nor
// many small compressed ones spend memory first.

#include "maperror.h"
#include "tiledmap.h"

#include <cstdint>

namespace hollenby::cli::tiled {

class CellBudget
{
public:
    // Takes width x height cells for `what` ("layer \"level\""); MapError when they do not fit.
    std::int64_t take(std::int64_t width, std::int64_t height, const QString& what)
    {
        const std::int64_t cells = width * height;
        if (cells > m_left) {
            MapFail(QStringLiteral("%1 is %2 x %3 tiles; an import reads at most %4 cells in all")
                        .arg(what)
                        .arg(width)
                        .arg(height)
                        .arg(kMaxCells));
        }
        m_left -= cells;
        return cells;
    }

private:
    std::int64_t m_left = kMaxCells;
};

} // namespace hollenby::cli::tiled
