#include "clierror.h"
#include "files.h"
#include "levelexport.h"
#include "levelinput.h"
#include "mapfiles.h"
#include "mapwriter.h"
#include "picture.h"
#include "runtimeerror.h"
#include "tiledcommands.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

namespace hollenby::cli::tiled {

namespace {

const QString kResources = QStringLiteral("resources");
const QString kOutput = QStringLiteral("output");
const QString kLayerFormat = QStringLiteral("layer-format");

void Define(QCommandLineParser& parser)
{
    parser.addOptions({
        {{QStringLiteral("o"), kOutput},
         QStringLiteral("The map to write: .tmx for Tiled's XML, .tmj or .json for its JSON."),
         QStringLiteral("MAP")},
        {{QStringLiteral("r"), kResources},
         QStringLiteral("The resources folder (default: _resources beside the level)."),
         QStringLiteral("DIR")},
        {kLayerFormat,
         QStringLiteral("How the layer's cells are stored: csv (default), base64, base64-zlib, "
                        "base64-gzip or base64-zstd."),
         QStringLiteral("FORMAT"), QStringLiteral("csv")},
    });
    parser.addPositionalArgument(QStringLiteral("LEVEL"), QStringLiteral("The level to export."));
}

int Run(const QCommandLineParser& parser)
{
    const QStringList arguments = parser.positionalArguments();
    if (arguments.size() != 1)
        throw CliError(QStringLiteral("export: give one LEVEL (got %1)").arg(arguments.size()));
    const QString output = parser.value(kOutput);
    if (output.isEmpty())
        throw CliError(
            QStringLiteral("export: give the map to write with -o MAP.tmx or -o MAP.tmj"));
    const std::optional<MapFormat> format = FormatOfMap(output);
    if (!format)
        Fail(output, QStringLiteral("a map's extension must be .tmx, .tmj or .json"));
    const std::optional<LayerFormat> layerFormat = LayerFormatFromName(parser.value(kLayerFormat));
    if (!layerFormat)
        throw CliError(QStringLiteral("export: --layer-format \"%1\" is not csv, base64, "
                                      "base64-zlib, base64-gzip or base64-zstd")
                           .arg(parser.value(kLayerFormat)));

    const LevelText level(arguments.front());
    const QString resources = ResourcesFolder(level.path(), parser.value(kResources));
    const QString mapFolder = QFileInfo(ui::NativePath(output)).absolutePath();
    const ExportedMap exported = MapFromLevel(level, resources, mapFolder);
    QTextStream err(stderr);
    for (const Finding& finding : exported.findings)
        err << FormatFinding(finding) << '\n';
    err.flush();
    const QByteArray bytes = *format == MapFormat::Tmx ? WriteTmxMap(exported.map, *layerFormat)
                                                       : WriteJsonMap(exported.map, *layerFormat);
    try {
        ui::WriteFileBytesSafely(output,
                                 std::string_view(bytes.constData(), std::size_t(bytes.size())));
    } catch (const ui::RuntimeError& error) {
        Fail(output, ReasonText(error));
    }
    return kExitClean;
}

} // namespace

Command ExportCommand()
{
    return {QStringLiteral("export"),
            QStringLiteral("LEVEL -o MAP.tmx|MAP.tmj [-r DIR] [--layer-format FORMAT]"),
            QStringLiteral("Write a level as a Tiled map, to paint it in Tiled."), Define, Run};
}

} // namespace hollenby::cli::tiled
