#include "command.h"
#include "tiled/tiledcommands.h"

namespace hollenby::cli {

const std::vector<Command>& Commands()
{
    static const std::vector<Command> commands = {
        tiled::ExportCommand(),
        tiled::ImportCommand(),
    };
    return commands;
}

} // namespace hollenby::cli
