#include "command.h"
#include "levelcommands.h"

namespace hollenby::cli {

const std::vector<Command>& Commands()
{
    static const std::vector<Command> commands = {
        RenderCommand(),
        CheckCommand(),
        InfoCommand(),
        ThumbnailCommand(),
    };
    return commands;
}

} // namespace hollenby::cli
