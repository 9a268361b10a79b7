// hollenby-level: parses the command line and hands it to the command it names.

#include "command.h"
#include "standardstreams.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    hollenby::cli::GuardStandardDescriptors();
    // No QGuiApplication: decoding and drawing into images needs no display.
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("hollenby-level"));
    return hollenby::cli::RunCommandLine(QCoreApplication::arguments());
}
