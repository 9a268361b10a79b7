#include "levelarguments.h"

#include "clierror.h"
#include "levelinput.h"

#include <QCommandLineParser>

namespace hollenby::cli {

namespace {

const QString kStdinName = QStringLiteral("stdin-name");
const QString kResources = QStringLiteral("resources");

} // namespace

QCommandLineOption StdinNameOption()
{
    return {kStdinName,
            QStringLiteral("The name of the level read from standard input (\"-\"), for its "
                           "findings and to find its resources folder and project file "
                           "(default: <stdin>, in the current folder)."),
            QStringLiteral("NAME")};
}

QCommandLineOption ResourcesOption()
{
    return {{QStringLiteral("r"), kResources},
            QStringLiteral("The resources folder (default: _resources beside each level)."),
            QStringLiteral("DIR")};
}

QString ResourcesFolderIn(const QCommandLineParser& parser, const QString& levelName)
{
    return ResourcesFolder(levelName, parser.value(kResources));
}

QStringList LevelArguments(const QCommandLineParser& parser, const QString& command, int most)
{
    QStringList levels = parser.positionalArguments();
    if (levels.isEmpty() || (most >= 0 && levels.size() > most)) {
        throw CliError(QStringLiteral("%1 takes %2; 'hollenby-level help %1' shows how")
                           .arg(command, most == 1 ? QStringLiteral("one LEVEL")
                                                   : QStringLiteral("one or more LEVEL files")));
    }
    const qsizetype standardInput = levels.count(QStringLiteral("-"));
    if (standardInput > 1)
        throw CliError(QStringLiteral("%1: \"-\" is given %2 times, but standard input can be "
                                      "read only once")
                           .arg(command)
                           .arg(standardInput));
    if (parser.isSet(kStdinName) && standardInput == 0)
        throw CliError(QStringLiteral("%1: --stdin-name names the level read from standard "
                                      "input, but no LEVEL is \"-\"")
                           .arg(command));
    return levels;
}

QString LevelNameIn(const QCommandLineParser& parser, const QString& argument)
{
    return LevelName(argument, parser.value(kStdinName));
}

} // namespace hollenby::cli
