#pragma once
// The commands that read a level and show it or say what is in it.

#include "command.h"

namespace hollenby::cli {

Command RenderCommand();
Command CheckCommand();
Command InfoCommand();
Command ThumbnailCommand();

} // namespace hollenby::cli
