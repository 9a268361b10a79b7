#include "terminalcolour.h"

#include "optionvalues.h"

#include <QCommandLineParser>

#include <cstdlib>
#include <string_view>
#include <unistd.h>

namespace hollenby::cli {

namespace {

const QString kColour = QStringLiteral("color");

} // namespace

QCommandLineOption ColourOption()
{
    return {kColour,
            QStringLiteral("Colour the output: auto (on a terminal, unless NO_COLOR is set or "
                           "TERM is dumb), always or never."),
            QStringLiteral("auto|always|never"), QStringLiteral("auto")};
}

bool ColourWanted(const QCommandLineParser& parser)
{
    const QString choice =
        ParseChoice(QStringLiteral("--color"), parser.value(kColour),
                    {QStringLiteral("auto"), QStringLiteral("always"), QStringLiteral("never")});
    if (choice != QLatin1String("auto"))
        return choice == QLatin1String("always");
    const char* noColour = std::getenv("NO_COLOR");
    const char* term = std::getenv("TERM");
    return ::isatty(STDOUT_FILENO) == 1 && (noColour == nullptr || *noColour == '\0') &&
           (term == nullptr || std::string_view(term) != "dumb");
}

QString Coloured(const QString& text, const char* style, bool colour)
{
    if (!colour || text.isEmpty())
        return text;
    return QStringLiteral("\x1b[%1m%2\x1b[m").arg(QLatin1String(style), text);
}

} // namespace hollenby::cli
