#pragma once
// The levels a command is given on its command line: files, or "-" once for standard input,
// which --stdin-name names.

#include <QCommandLineOption>
#include <QString>
#include <QStringList>

class QCommandLineParser;

namespace hollenby::cli {

// --stdin-name <NAME>
QCommandLineOption StdinNameOption();

// -r, --resources <DIR>
QCommandLineOption ResourcesOption();

// The resources folder of the level named `levelName`: -r when given, else _resources beside it.
QString ResourcesFolderIn(const QCommandLineParser& parser, const QString& levelName);

// The positional arguments of `parser`: from one to `most` of them (-1 for any number), "-" at
// most once, since standard input can be read only once, and --stdin-name only with a "-".
// Throws CliError otherwise, saying what `command` takes.
QStringList LevelArguments(const QCommandLineParser& parser, const QString& command, int most = -1);

// The name the level `argument` goes by (LevelName, with the --stdin-name of `parser`).
QString LevelNameIn(const QCommandLineParser& parser, const QString& argument);

} // namespace hollenby::cli
