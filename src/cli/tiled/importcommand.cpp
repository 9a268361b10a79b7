#include "clierror.h"
#include "importmessages.h"
#include "inputfile.h"
#include "levelimport.h"
#include "maperror.h"
#include "mapfiles.h"
#include "outputfile.h"
#include "printable.h"
#include "tiledcommands.h"

#include <QCommandLineParser>
#include <QTextStream>

namespace hollenby::cli::tiled {

namespace {

const QString kOutput = QStringLiteral("output");
const QString kLayer = QStringLiteral("layer");
const QString kBlank = QStringLiteral("blank");
const QString kCrop = QStringLiteral("crop");
const QString kForce = QStringLiteral("force");

void Define(QCommandLineParser& parser)
{
    parser.addOptions({
        {{QStringLiteral("o"), kOutput},
         QStringLiteral("The level file to write (LEVEL.lvl)."),
         QStringLiteral("LEVEL")},
        {kLayer,
         QStringLiteral("The tile layer to import (default: the one named \"level\", else the "
                        "only one)."),
         QStringLiteral("NAME")},
        {kBlank, QStringLiteral("The code written for an empty cell (default: 00)."),
         QStringLiteral("CODE"), QStringLiteral("00")},
        {kCrop,
         QStringLiteral("Keep the 8 columns from column X (Tiled's x, from 0) of a wider map "
                        "instead of refusing it."),
         QStringLiteral("X")},
        {kForce, QStringLiteral("Write the level under a name not ending in .lvl.")},
    });
    parser.addPositionalArgument(QStringLiteral("MAP"),
                                 QStringLiteral("The Tiled map: .tmx, .tmj or .json."));
}

std::int64_t ParseCrop(const QString& text)
{
    bool ok = false;
    const qlonglong column = text.toLongLong(&ok);
    if (!ok || column < 0 || column > kMaxCells || text.startsWith(QLatin1Char('+')))
        throw CliError(QStringLiteral("import: --crop \"%1\": must be a map column, a whole number "
                                      "from 0")
                           .arg(text));
    return column;
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
    if (parser.isSet(kCrop))
        options.crop = ParseCrop(parser.value(kCrop));
    if (const QString problem = importmessage::CellTextProblem(options.blank); !problem.isEmpty())
        throw CliError(QStringLiteral("import: --blank \"%1\" cannot be a level cell: it %2")
                           .arg(Printable(options.blank), problem));

    const QString& mapPath = arguments.front();
    OutputFile::Check(output, {mapPath});
    if (!parser.isSet(kForce) && !OutputFile::HasSuffix(output, {QStringLiteral("lvl")}))
        Fail(output, QStringLiteral("import writes level text; give a name ending in .lvl (or "
                                    "--force to write it there)"));
    // A folder or a FIFO is named as what it is, whatever its name.
    RefuseIrregularFile(mapPath);
    const std::optional<MapFormat> format = FormatOfMap(mapPath);
    if (!format)
        Fail(mapPath, QStringLiteral("a map's name must end in .tmx, .tmj or .json"));
    const QByteArray bytes = ReadMapFile(mapPath);
    QStringList inputs = {mapPath};
    ImportedLevel level;
    try {
        level = LevelFromMap(ReadMap(bytes, *format, FileTilesetLoader(mapPath, &inputs)), options);
    } catch (const MapError& error) {
        Fail(mapPath, error.reason());
    }
    QTextStream err(stderr);
    for (const QString& warning : level.warnings)
        err << Printable(mapPath, -1) << ": warning: " << warning << '\n';
    err.flush();
    OutputFile out(output, inputs);
    const auto size = qint64(level.text.size());
    if (out.device().write(level.text.data(), size) != size)
        Fail(output, QStringLiteral("cannot write: ") + out.device().errorString());
    out.commit();
    return kExitClean;
}

} // namespace

Command ImportCommand()
{
    return {QStringLiteral("import"),
            QStringLiteral("MAP.tmx|MAP.tmj|MAP.json -o LEVEL.lvl [--layer NAME] [--blank CODE] "
                           "[--crop X] [--force]"),
            QStringLiteral("Read a level back from a Tiled map."), Define, Run};
}

} // namespace hollenby::cli::tiled
