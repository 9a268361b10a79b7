#include "clierror.h"
#include "files.h"
#include "levelimport.h"
#include "maperror.h"
#include "mapfiles.h"
#include "runtimeerror.h"
#include "tiledcommands.h"

#include <QCommandLineParser>
#include <QTextStream>

namespace hollenby::cli::tiled {

namespace {

const QString kOutput = QStringLiteral("output");
const QString kLayer = QStringLiteral("layer");
const QString kBlank = QStringLiteral("blank");
const QString kCrop = QStringLiteral("crop");

void Define(QCommandLineParser& parser)
{
    parser.addOptions({
        {{QStringLiteral("o"), kOutput},
         QStringLiteral("The level file to write."),
         QStringLiteral("LEVEL")},
        {kLayer,
         QStringLiteral("The tile layer to import (default: the one named \"level\", else the "
                        "only one)."),
         QStringLiteral("NAME")},
        {kBlank, QStringLiteral("The code written for an empty cell (default: 00)."),
         QStringLiteral("CODE"), QStringLiteral("00")},
        {kCrop, QStringLiteral("Keep the first 8 columns of a wider map instead of refusing it.")},
    });
    parser.addPositionalArgument(QStringLiteral("MAP"),
                                 QStringLiteral("The Tiled map: .tmx, .tmj or .json."));
}

int Run(const QCommandLineParser& parser)
{
    const QStringList arguments = parser.positionalArguments();
    if (arguments.size() != 1)
        throw CliError(QStringLiteral("import: give one MAP (got %1)").arg(arguments.size()));
    const QString output = parser.value(kOutput);
    if (output.isEmpty())
        throw CliError(QStringLiteral("import: give the level to write with -o LEVEL.lvl"));
    ImportOptions options;
    options.layer = parser.value(kLayer);
    options.blank = parser.value(kBlank);
    options.crop = parser.isSet(kCrop);
    if (!IsCellText(options.blank))
        throw CliError(QStringLiteral("import: --blank \"%1\" cannot be a level cell: it must be "
                                      "8-bit text, not empty, without \",\" or a line break")
                           .arg(options.blank));

    const QString& mapPath = arguments.front();
    const std::optional<MapFormat> format = FormatOfMap(mapPath);
    if (!format)
        Fail(mapPath, QStringLiteral("a map's extension must be .tmx, .tmj or .json"));
    const QByteArray bytes = ReadMapFile(mapPath);
    ImportedLevel level;
    try {
        level = LevelFromMap(ReadMap(bytes, *format, FileTilesetLoader(mapPath)), options);
    } catch (const MapError& error) {
        Fail(mapPath, error.reason());
    }
    QTextStream err(stderr);
    for (const QString& warning : level.warnings)
        err << mapPath << ": warning: " << warning << '\n';
    err.flush();
    try {
        ui::WriteFileBytesSafely(output, level.text);
    } catch (const ui::RuntimeError& error) {
        Fail(output, ReasonText(error));
    }
    return kExitClean;
}

} // namespace

Command ImportCommand()
{
    return {QStringLiteral("import"),
            QStringLiteral("MAP.tmx|MAP.tmj|MAP.json -o LEVEL.lvl [--layer NAME] [--blank CODE] "
                           "[--crop]"),
            QStringLiteral("Read a level back from a Tiled map."), Define, Run};
}

} // namespace hollenby::cli::tiled
