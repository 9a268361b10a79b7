#include "clierror.h"
#include "command.h"
#include "runtimeerror.h"

#include <QCommandLineParser>
#include <QTextStream>

#include <cstdio>
#include <new>

namespace hollenby::cli {

namespace {

const QString kProgram = QStringLiteral("hollenby-level");

const Command* FindCommand(const QString& name)
{
    for (const Command& command : Commands()) {
        if (command.name == name)
            return &command;
    }
    return nullptr;
}

QString GeneralHelp()
{
    QString text = QStringLiteral("Usage: %1 COMMAND [OPTIONS] ARGUMENTS\n"
                                  "Renders, checks and previews the levels of the Hollenby tile "
                                  "game, and exchanges them with Tiled.\n\n"
                                  "Commands:\n")
                       .arg(kProgram);
    for (const Command& command : Commands())
        text += QStringLiteral("  %1  %2\n").arg(command.name, -15).arg(command.summary);
    text += QStringLiteral("\nOptions:\n"
                           "  -h, --help     Show this help, or a command's with COMMAND --help.\n"
                           "  -v, --version  Show the version.\n\n"
                           "'%1 help COMMAND' shows the options of one command.\n\n"
                           "Exit status:\n"
                           "  0  done, and no errors found\n"
                           "  1  errors found (check; with --strict, warnings too)\n"
                           "  2  the command could not run: a file it cannot read or write, a bad "
                           "option\n")
                .arg(kProgram);
    return text;
}

void DefineParser(const Command& command, QCommandLineParser& parser)
{
    parser.setApplicationDescription(command.summary);
    parser.addOption(QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Show this help.")));
    command.define(parser);
}

QString CommandHelp(const Command& command)
{
    QCommandLineParser parser;
    DefineParser(command, parser);
    // Qt's usage line names the executable alone; ours names the command and its arguments.
    QString help = parser.helpText();
    help = help.mid(help.indexOf(QLatin1Char('\n')) + 1);
    return QStringLiteral("Usage: %1 %2 %3\n").arg(kProgram, command.name, command.synopsis) + help;
}

int Trouble(const QString& message)
{
    QTextStream(stderr) << kProgram << ": " << message << '\n';
    return kExitTrouble;
}

} // namespace

int RunCommandLine(const QStringList& arguments)
{
    QTextStream out(stdout);
    const QString first = arguments.value(1);
    if (first.isEmpty())
        return Trouble(QStringLiteral("no command given; '%1 --help' lists them").arg(kProgram));
    if (first == QLatin1String("--help") || first == QLatin1String("-h")) {
        out << GeneralHelp();
        return kExitClean;
    }
    if (first == QLatin1String("--version") || first == QLatin1String("-v")) {
        out << kProgram << ' ' << HOLLENBY_VERSION << '\n';
        return kExitClean;
    }
    if (first == QLatin1String("help")) {
        if (arguments.size() == 2) {
            out << GeneralHelp();
            return kExitClean;
        }
        const Command* command = FindCommand(arguments.at(2));
        if (command == nullptr)
            return Trouble(QStringLiteral("unknown command \"%1\"").arg(arguments.at(2)));
        out << CommandHelp(*command);
        return kExitClean;
    }

    const Command* command = FindCommand(first);
    if (command == nullptr) {
        return Trouble(
            QStringLiteral("unknown command \"%1\"; '%2 --help' lists them").arg(first, kProgram));
    }
    QCommandLineParser parser;
    DefineParser(*command, parser);
    QStringList rest = arguments.mid(2);
    rest.prepend(kProgram);
    if (!parser.parse(rest))
        return Trouble(command->name + QStringLiteral(": ") + parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        out << CommandHelp(*command);
        return kExitClean;
    }
    try {
        const int status = command->run(parser);
        out.flush();
        std::fflush(stdout);
        return status;
    } catch (const CliError& error) {
        out.flush();
        return Trouble(error.message());
    } catch (const ui::RuntimeError& error) {
        return Trouble(ReasonText(error));
    } catch (const std::bad_alloc&) {
        return Trouble(QStringLiteral("out of memory"));
    }
}

} // namespace hollenby::cli
