#include "clierror.h"
#include "command.h"
#include "helptext.h"
#include "runtimeerror.h"
#include "standardstreams.h"

#include <QCommandLineParser>
#include <QTextStream>

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

int Trouble(const QString& message)
{
    PrintError(message);
    return kExitTrouble;
}

// Prints `text` on standard output; whether it arrived is checked once the command is done.
int Print(const QString& text)
{
    StandardOutput() << text;
    return kExitClean;
}

int Dispatch(const QStringList& arguments)
{
    const QString first = arguments.value(1);
    if (first.isEmpty())
        return Trouble(QStringLiteral("no command given; '%1 --help' lists them").arg(kProgram));
    if (first == QLatin1String("--help") || first == QLatin1String("-h"))
        return Print(GeneralHelp());
    if (first == QLatin1String("--version") || first == QLatin1String("-v"))
        return Print(QStringLiteral("%1 %2\n").arg(kProgram, QStringLiteral(HOLLENBY_VERSION)));
    if (first == QLatin1String("help")) {
        if (arguments.size() == 2)
            return Print(GeneralHelp());
        const Command* command = FindCommand(arguments.at(2));
        if (command == nullptr)
            return Trouble(QStringLiteral("unknown command \"%1\"").arg(arguments.at(2)));
        return Print(CommandHelp(*command));
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
    if (parser.isSet(QStringLiteral("help")))
        return Print(CommandHelp(*command));
    try {
        return command->run(parser);
    } catch (const CliError& error) {
        return Trouble(error.message());
    } catch (const ui::RuntimeError& error) {
        return Trouble(ReasonText(error));
    } catch (const std::bad_alloc&) {
        return Trouble(QStringLiteral("out of memory"));
    }
}

} // namespace

int RunCommandLine(const QStringList& arguments)
{
    const int status = Dispatch(arguments);
    // Results that did not arrive are no success, however the command went.
    const QString failure = StandardOutputFailure();
    if (failure.isEmpty())
        return status;
    return Trouble(QStringLiteral("standard output: ") + failure);
}

} // namespace hollenby::cli
