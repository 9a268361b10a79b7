#pragma once
// hollenby-level tiled-extension install|path: puts the Tiled extension that opens and saves
// levels into the user's Tiled extensions folder, or says where it goes.

#include "command.h"

namespace hollenby::cli {

Command TiledExtensionCommand();

} // namespace hollenby::cli
