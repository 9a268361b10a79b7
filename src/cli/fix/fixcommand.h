#pragma once
// The command that rewrites levels, for the command table.

#include "command.h"

namespace hollenby::cli {

// hollenby-level fix LEVEL... [--dry-run] [--line-ends] [--ignore ID,...]
Command FixCommand();

} // namespace hollenby::cli
