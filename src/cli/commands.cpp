#include "command.h"

namespace hollenby::cli {

const std::vector<Command>& Commands()
{
    static const std::vector<Command> commands = {};
    return commands;
}

} // namespace hollenby::cli
