#include "command.h"
#include "fix/fixcommand.h"
#include "levelcommands.h"
#include "tiled/tiledcommands.h"
#include "tiledextensioncommand.h"

#include <QCommandLineParser>

namespace hollenby::cli {

const std::vector<Command>& Commands()
{
    static const std::vector<Command> commands = {
        RenderCommand(),    CheckCommand(),         FixCommand(),           InfoCommand(),
        ThumbnailCommand(), tiled::ExportCommand(), tiled::ImportCommand(), TiledExtensionCommand(),
    };
    return commands;
}

void DefineParser(const Command& command, QCommandLineParser& parser)
{
    parser.setApplicationDescription(command.summary);
    parser.addOption(QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Show this help.")));
    command.define(parser);
}

} // namespace hollenby::cli
