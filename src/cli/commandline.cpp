#include "clierror.h"
#include "command.h"
#include "helptext.h"
#include "printable.h"
#include "runtimeerror.h"
#include "standardstreams.h"

#include <QCommandLineParser>
#include <QRegularExpression>
#include <QTextStream>

#include <algorithm>
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

// A command line that cannot be read, said as command-line tools say it: the program and the
// command, what is wrong, and where the help is.
int OptionTrouble(const QString& command, const QString& what)
{
    const QString program = command.isEmpty() ? kProgram : kProgram + QLatin1Char(' ') + command;
    QTextStream(stderr) << program << ": " << Printable(what, -1) << "\nTry '"
                        << (command.isEmpty() ? kProgram + QStringLiteral(" --help")
                                              : kProgram + QStringLiteral(" help ") + command)
                        << "'.\n";
    return kExitTrouble;
}

// What Qt found wrong with `arguments`, in the program's words and with the option as typed.
QString OptionError(const QCommandLineParser& parser, const QStringList& arguments)
{
    if (const QStringList unknown = parser.unknownOptionNames(); !unknown.isEmpty()) {
        const QString& name = unknown.first();
        const bool typedLong = std::any_of(arguments.begin(), arguments.end(), [&](const auto& a) {
            return a == QLatin1String("--") + name ||
                   a.startsWith(QLatin1String("--") + name + '=');
        });
        return QStringLiteral("unknown option '%1%2'")
            .arg(typedLong ? QStringLiteral("--") : QStringLiteral("-"), name);
    }
    // The other two mistakes Qt knows, each naming the option as it was typed.
    static const QRegularExpression quoted(QStringLiteral("'(.*)'"));
    QString text = parser.errorText();
    const QString option = quoted.match(text).captured(1);
    if (text.startsWith(QLatin1String("Missing value")))
        return QStringLiteral("option '%1' needs a value").arg(option);
    if (text.startsWith(QLatin1String("Unexpected value")))
        return QStringLiteral("option '%1' takes no value").arg(option);
    return text;
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
    // -v as well, as the program has always answered it.
    if (first == QLatin1String("--version") || first == QLatin1String("-V") ||
        first == QLatin1String("-v"))
        return Print(QStringLiteral("%1 %2\n").arg(kProgram, QStringLiteral(HOLLENBY_VERSION)));
    if (first == QLatin1String("help")) {
        if (arguments.size() == 2)
            return Print(GeneralHelp());
        if (arguments.at(2) == QLatin1String("help"))
            return Print(HelpOfHelp());
        const Command* command = FindCommand(arguments.at(2));
        if (command == nullptr)
            return Trouble(QStringLiteral("unknown command \"%1\"").arg(arguments.at(2)));
        return Print(CommandHelp(*command));
    }

    if (first.startsWith(QLatin1Char('-')))
        return OptionTrouble({}, QStringLiteral("unknown option '%1'").arg(first));
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
        return OptionTrouble(command->name, OptionError(parser, rest));
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
