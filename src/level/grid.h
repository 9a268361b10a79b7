#pragma once
// Grid geometry of the editor's render view, in twips inside the render frame, and of the play
// window, in pixels of its client area. Both views lay out the same rows and columns.

#include <cstdint>

#include "rowwalk.h"

namespace hollenby::grid {

inline constexpr int kTwipsPerPixel = 15;

// Render view (twips). The column pitch is one pixel narrower than the tiles on purpose.
inline constexpr std::int32_t kColumnPitch = 585;
inline constexpr std::int32_t kRowPitch = 600;
inline constexpr std::int32_t kFirstTop = 600;
inline constexpr std::int32_t kColumns = 8;
inline constexpr std::int32_t kTileTemplateSize = 600;

// Play window (pixels): eight columns by six rows of 40 x 40 tiles.
inline constexpr std::int32_t kPlayPitch = 40;
inline constexpr std::int32_t kPlayViewHeight = 240;
inline constexpr std::int32_t kPlayWidth = 312;
inline constexpr std::int32_t kPlayHeight = 213;

// The editor numbers rows 600, 1200, ... and draws them from Top 600 down.
inline constexpr RowWalkGeometry kEditorWalk{kFirstTop, kFirstTop, kColumnPitch, kRowPitch,
                                             kColumns};
// The play window numbers rows 0, 40, ... and draws them from Top 0 down.
inline constexpr RowWalkGeometry kPlayWalk{0, 0, kPlayPitch, kPlayPitch, kColumns};

} // namespace hollenby::grid
