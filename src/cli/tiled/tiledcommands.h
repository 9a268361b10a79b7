#pragma once
// The commands that exchange levels with Tiled, for the command table.

#include "command.h"

namespace hollenby::cli::tiled {

// hollenby-level export LEVEL -o MAP.tmx|MAP.tmj [-r DIR] [--layer-format FORMAT]
Command ExportCommand();

// hollenby-level import MAP.tmx|MAP.tmj|MAP.json -o LEVEL.lvl [--layer NAME] [--blank CODE]
// [--crop X] [--force]
Command ImportCommand();

} // namespace hollenby::cli::tiled
