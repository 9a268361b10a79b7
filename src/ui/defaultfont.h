#pragma once
// The font of every control: "MS Sans Serif" 8.25 point, the face the windows' layout was made
// for. Where the system lacks it, Debian's fonts-wine has a face of its widths, which is loaded
// from there; its letters are bitmaps of a fixed pixel size, so on a scaled screen a scalable
// face narrowed to the same widths takes its place.

#include <QFont>

namespace hollenby::ui {

// Needs the application object. The face is chosen once, by the scale of the primary screen at
// the first call.
QFont DefaultFont(bool bold = false);

} // namespace hollenby::ui
