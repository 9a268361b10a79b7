#include "command.h"
#include "levelcommands.h"
#include "tiled/tiledcommands.h"
#include "tiledextensioncommand.h"

namespace hollenby::cli {

const std::vector<Command>& Commands()
{
    static const std::vector<Command> commands = {
        RenderCommand(),        CheckCommand(),         InfoCommand(),           ThumbnailCommand(),
        tiled::ExportCommand(), tiled::ImportCommand(), TiledExtensionCommand(),
    };
    return commands;
}

} // namespace hollenby::cli
