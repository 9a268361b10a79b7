#include "helptext.h"

#include <QCommandLineParser>

namespace hollenby::cli {

namespace {

const QString kProgram = QStringLiteral("hollenby-level");

} // namespace

QString WrapHelp(const QString& text, const QString& first, int indent)
{
    QString wrapped = first;
    qsizetype lineStart = 0;
    bool lineEmpty = first.trimmed().isEmpty();
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const qsizetype column = wrapped.size() - lineStart;
        if (!lineEmpty && column + 1 + word.size() > kHelpColumns) {
            wrapped += QLatin1Char('\n');
            lineStart = wrapped.size();
            wrapped += QString(indent, QLatin1Char(' '));
            lineEmpty = true;
        }
        if (!lineEmpty)
            wrapped += QLatin1Char(' ');
        wrapped += word;
        lineEmpty = false;
    }
    return wrapped + QLatin1Char('\n');
}

QString GeneralHelp()
{
    QString text = WrapHelp(QStringLiteral("COMMAND [OPTIONS] ARGUMENTS"),
                            QStringLiteral("Usage: ") + kProgram, 7);
    text += WrapHelp(QStringLiteral("Renders, checks and previews the levels of the Hollenby "
                                    "tile game, and exchanges them with Tiled."));
    text += QStringLiteral("\nCommands:\n");
    for (const Command& command : Commands())
        text += WrapHelp(command.summary, QStringLiteral("  %1").arg(command.name, -11), 14);
    text += QStringLiteral("\nOptions:\n"
                           "  -h, --help     Show this help, or a command's with COMMAND --help.\n"
                           "  -V, --version  Show the version.\n\n"
                           "'%1 help COMMAND' shows the options of one command.\n\n"
                           "Exit status:\n"
                           "  0  done, and no errors found\n")
                .arg(kProgram);
    text += WrapHelp(QStringLiteral("errors found (check; with --strict, warnings too), or "
                                    "changes to make (fix --dry-run)"),
                     QStringLiteral("  1 "), 5);
    text += WrapHelp(QStringLiteral("the command could not run: a file it cannot read or "
                                    "write, a bad option"),
                     QStringLiteral("  2 "), 5);
    return text;
}

QString HelpOfHelp()
{
    return QStringLiteral("Usage: %1 help [COMMAND]\n"
                          "Show the program's commands, or the options of one COMMAND.\n")
        .arg(kProgram);
}

QString CommandHelp(const Command& command)
{
    QCommandLineParser parser;
    DefineParser(command, parser);
    // Qt's usage line names the executable alone, and its description is not wrapped: both are
    // written here; the options and arguments Qt lays out within 80 columns itself.
    QString help = parser.helpText();
    help = help.mid(help.indexOf(QStringLiteral("\n\n")) + 1);
    const QString usage = QStringLiteral("Usage: %1 %2").arg(kProgram, command.name);
    return WrapHelp(command.synopsis, usage, 8) + WrapHelp(command.summary) + help;
}

} // namespace hollenby::cli
