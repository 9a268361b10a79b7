#include "check/findingtext.h"
#include "clierror.h"
#include "level.h"
#include "levelarguments.h"
#include "levelexport.h"
#include "levelinput.h"
#include "mapfiles.h"
#include "mapwriter.h"
#include "optionvalues.h"
#include "outputfile.h"
#include "picture.h"
#include "printable.h"
#include "tiledcommands.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace hollenby::cli::tiled {

namespace {

const QString kOutput = QStringLiteral("output");
const QString kLayerFormat = QStringLiteral("layer-format");
const QString kMapFormat = QStringLiteral("map-format");

void Define(QCommandLineParser& parser)
{
    parser.addOption(ResourcesOption());
    parser.addOptions({
        {{QStringLiteral("o"), kOutput},
         QStringLiteral("The map to write: .tmx for Tiled's XML, .tmj or .json for its JSON; - "
                        "writes it to standard output, its tiles' images relative to the "
                        "current folder."),
         QStringLiteral("MAP")},
        {kMapFormat,
         QStringLiteral("The map's format on standard output (default: tmx); for a file, its "
                        "name decides."),
         QStringLiteral("tmx|json")},
        {kLayerFormat,
         QStringLiteral("How the layer's cells are stored: csv (default), base64, base64-zlib, "
                        "base64-gzip or base64-zstd."),
         QStringLiteral("FORMAT"), QStringLiteral("csv")},
    });
    parser.addOption(StdinNameOption());
    parser.addPositionalArgument(QStringLiteral("LEVEL"),
                                 QStringLiteral("The level to export; - reads standard input."));
}

// The map's format: by the name of the output file, or --map-format for standard output.
MapFormat FormatOf(const QCommandLineParser& parser, const QString& output)
{
    std::optional<MapFormat> chosen;
    if (parser.isSet(kMapFormat)) {
        chosen =
            ParseChoice(QStringLiteral("--map-format"), parser.value(kMapFormat),
                        {QStringLiteral("tmx"), QStringLiteral("json")}) == QLatin1String("tmx")
                ? MapFormat::Tmx
                : MapFormat::Json;
    }
    if (OutputFile::IsStandardOutput(output))
        return chosen.value_or(MapFormat::Tmx);
    const std::optional<MapFormat> named = FormatOfMap(output);
    if (!named)
        Fail(output, QStringLiteral("export writes a map; give a name ending in .tmx, .tmj or "
                                    ".json"));
    if (chosen && chosen != named)
        Fail(output, QStringLiteral("the name says one map format and --map-format another; "
                                    "--map-format is for standard output"));
    return *named;
}

// What export writes, import must read.
[[noreturn]] void TooLargeForImport(const QString& output, qint64 bytes)
{
    Fail(output, QStringLiteral("the map would be %1 MiB, and import reads at most %2 MiB; write "
                                "its layer compressed (--layer-format base64-zlib)")
                     .arg(double(bytes) / (1 << 20), 0, 'f', 1)
                     .arg(kMaxMapFileBytes >> 20));
}

int Run(const QCommandLineParser& parser)
{
    const QStringList arguments = LevelArguments(parser, QStringLiteral("export"), 1);
    const QString output = parser.value(kOutput);
    if (output.isEmpty())
        throw CliError(
            QStringLiteral("export: give the map to write with -o MAP.tmx or -o MAP.tmj"));
    OutputFile::Check(output, {arguments.front()});
    const MapFormat format = FormatOf(parser, output);
    const std::optional<LayerFormat> layerFormat = LayerFormatFromName(parser.value(kLayerFormat));
    if (!layerFormat)
        throw CliError(QStringLiteral("export: --layer-format \"%1\" is not csv, base64, "
                                      "base64-zlib, base64-gzip or base64-zstd")
                           .arg(parser.value(kLayerFormat)));

    const LevelText level(arguments.front(), LevelNameIn(parser, arguments.front()));
    const QString resources = ResourcesFolderIn(parser, level.name());
    const QString mapFolder = OutputFile::IsStandardOutput(output)
                                  ? QDir::currentPath()
                                  : QFileInfo(ui::NativePath(output)).absolutePath();
    const ExportedMap exported = MapFromLevel(level, resources, mapFolder);
    // Four bytes a cell, a third more in base64: known too large before a byte is encoded.
    const auto cells = qint64(exported.map.tileLayers.front().gids.size());
    if (*layerFormat == LayerFormat::Base64 && (cells * 4 + 2) / 3 * 4 > kMaxMapFileBytes)
        TooLargeForImport(output, (cells * 4 + 2) / 3 * 4);
    QTextStream(stderr) << FindingLines(exported.findings);
    const QByteArray bytes = format == MapFormat::Tmx ? WriteTmxMap(exported.map, *layerFormat)
                                                      : WriteJsonMap(exported.map, *layerFormat);
    if (bytes.size() > kMaxMapFileBytes)
        TooLargeForImport(output, bytes.size());
    QStringList inputs = {level.path()};
    for (const std::string_view code : TileCodes())
        inputs << TileBitmapNativePath(resources, code);
    OutputFile out(output, inputs);
    if (out.device().write(bytes) != bytes.size())
        Fail(output, QStringLiteral("cannot write: ") + out.device().errorString());
    out.commit();
    return kExitClean;
}

} // namespace

Command ExportCommand()
{
    return {QStringLiteral("export"),
            QStringLiteral("LEVEL -o MAP.tmx|MAP.tmj|- [-r DIR] [--layer-format FORMAT]"),
            QStringLiteral("Write a level as a Tiled map, to paint it in Tiled."), Define, Run};
}

} // namespace hollenby::cli::tiled
