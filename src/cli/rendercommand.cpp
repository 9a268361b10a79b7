// render: the whole level, or some of its rows, as one PNG.

#include "clierror.h"
#include "level.h"
#include "levelarguments.h"
#include "levelcommands.h"
#include "levelinput.h"
#include "levelraster.h"
#include "levelrows.h"
#include "optionvalues.h"
#include "outputfile.h"
#include "picture.h"
#include "picturewriter.h"
#include "pngwriter.h"
#include "runtimeerror.h"
#include "standardstreams.h"
#include "tileset.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <map>
#include <thread>

namespace hollenby::cli {

namespace {

const QString kOutput = QStringLiteral("output");
const QString kOutputDir = QStringLiteral("output-dir");
const QString kRows = QStringLiteral("rows");
const QString kScale = QStringLiteral("scale");
const QString kGrid = QStringLiteral("grid");
const QString kBackground = QStringLiteral("background");
const QString kJobs = QStringLiteral("jobs");

void Define(QCommandLineParser& parser)
{
    parser.addPositionalArgument(QStringLiteral("LEVEL..."),
                                 QStringLiteral("The level files; - reads standard input."));
    parser.addOption(ResourcesOption());
    parser.addOptions({
        {{QStringLiteral("o"), kOutput},
         QStringLiteral("The PNG to write for one level (default: the level's name with .png); "
                        "- writes it to standard output."),
         QStringLiteral("OUT.png")},
        {kOutputDir, QStringLiteral("Write each level's PNG into DIR, named after the level."),
         QStringLiteral("DIR")},
        {kRows,
         QStringLiteral("Only these rows, numbered from 1 as the editor's scroll bar counts "
                        "them: FIRST:LAST, FIRST:, :LAST or N."),
         QStringLiteral("FIRST:LAST")},
        {kScale, QStringLiteral("Shrink by S (0 < S <= 1), averaging the pixels."),
         QStringLiteral("S"), QStringLiteral("1")},
        {kGrid,
         QStringLiteral("play: tiles 40 px apart, 320 px wide, as the play window draws them; "
                        "editor: columns 39 px apart, as the editor's render view."),
         QStringLiteral("play|editor"), QStringLiteral("play")},
        {kBackground,
         QStringLiteral("Fill blank slots with this colour instead of leaving them transparent."),
         QStringLiteral("#RRGGBB")},
        {kJobs, QStringLiteral("Threads to draw and compress with (default: one per core)."),
         QStringLiteral("N")},
    });
    parser.addOption(StdinNameOption());
}

void RequireFolder(const QString& folder)
{
    const QFileInfo info(ui::NativePath(folder));
    if (!info.exists())
        Fail(folder, QStringLiteral("no such resources folder (name one with -r DIR)"));
    if (!info.isDir())
        Fail(folder, QStringLiteral("not a folder; -r names the folder of tile bitmaps"));
}

struct RenderOptions
{
    RowRange range;
    double scale = 1;
    bool editorGrid = false;
    std::optional<std::uint32_t> background;
    int threads = 1;
};

RenderOptions ReadOptions(const QCommandLineParser& parser)
{
    RenderOptions options;
    if (parser.isSet(kRows))
        options.range = ParseRowRange(QStringLiteral("--rows"), parser.value(kRows));
    options.scale = ParseScale(QStringLiteral("--scale"), parser.value(kScale));
    options.editorGrid =
        ParseChoice(QStringLiteral("--grid"), parser.value(kGrid),
                    {QStringLiteral("play"), QStringLiteral("editor")}) == QLatin1String("editor");
    if (parser.isSet(kBackground))
        options.background = ParseColour(QStringLiteral("--background"), parser.value(kBackground));
    options.threads = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    if (parser.isSet(kJobs))
        options.threads = ParseCount(QStringLiteral("--jobs"), parser.value(kJobs), 64);
    return options;
}

// The picture of one level, read from `levelPath` and known as `name`, drawn with the bitmaps of
// `folder`, into `outPath`.
void Render(const QString& levelPath, const QString& name, const QString& folder,
            const QString& outPath, const RenderOptions& options)
{
    OutputFile::Check(outPath, {levelPath});
    if (OutputFile::IsStandardOutput(outPath))
        RefuseTerminalOutput(QStringLiteral("a PNG"));
    else if (!OutputFile::HasSuffix(outPath, {QStringLiteral("png")}))
        Fail(outPath, QStringLiteral("render writes a PNG; give a name ending in .png"));

    const LevelText level(levelPath, name);
    level.requireText();
    RequireFolder(folder);

    const std::vector<RowSlots> rows = DrawableRowSlots(level.lines(), name);
    const auto count = static_cast<std::int64_t>(rows.size());
    const RowRange range = options.range;
    if (range.first > count)
        Fail(name, QStringLiteral("--rows starts at row %1, but the level has %2 rows")
                       .arg(range.first)
                       .arg(count));
    const std::span<const RowSlots> selected(
        rows.data() + range.first - 1,
        static_cast<std::size_t>(std::min(range.last, count) - range.first + 1));

    const RasterLayout layout = options.editorGrid ? EditorLayout() : PlayLayout();
    const std::int64_t height = static_cast<std::int64_t>(selected.size()) * layout.rowPitch;
    if (height > kPngMaxSide)
        Fail(name, QStringLiteral("%1 rows make a picture %2 pixels high; a PNG may be at most %3 "
                                  "(use --rows)")
                       .arg(selected.size())
                       .arg(height)
                       .arg(kPngMaxSide));

    const TileUse used = UsedTiles(selected);
    const TileSet tiles(folder, used, TileSet::Fallback::Blank);
    const LevelRaster raster(selected, tiles, layout, options.background);

    QStringList inputs = {levelPath};
    for (int i = 0; i < kTileCodeCount; ++i) {
        if (used[std::size_t(i)])
            inputs << TileBitmapNativePath(folder, TileCodes()[std::size_t(i)]);
    }
    OutputFile out(outPath, inputs);
    PictureOptions picture;
    picture.size = ScaledSize({raster.width(), raster.height()}, options.scale);
    picture.threads = options.threads;
    picture.progressLabel = QStringLiteral("rendering ") + name;
    WritePicture(raster, tiles, options.background.has_value(), picture, out);
    out.commit();
}

// Where each level's picture goes: -o, or into --output-dir, or beside the level.
QStringList Outputs(const QCommandLineParser& parser, const QStringList& levels)
{
    const bool output = parser.isSet(kOutput);
    const bool outputDir = parser.isSet(kOutputDir);
    if (output && outputDir)
        throw CliError(QStringLiteral("render: give -o OUT.png or --output-dir DIR, not both"));
    if (output && levels.size() > 1)
        throw CliError(QStringLiteral("render: -o names the picture of one level; give "
                                      "--output-dir DIR for several"));
    if (output)
        return {parser.value(kOutput)};
    const QDir folder(parser.value(kOutputDir));
    QStringList outputs;
    std::map<QString, QString> levelOf; // by the output's full path
    for (const QString& level : levels) {
        const QString name = LevelNameIn(parser, level);
        if (IsStandardInput(level) && (!outputDir || name == LevelName(level, {})))
            throw CliError(QStringLiteral("render: the level from standard input needs %1")
                               .arg(outputDir ? QStringLiteral("--stdin-name to name its picture")
                                              : QStringLiteral("-o OUT.png, or -o - for "
                                                               "standard output")));
        const QFileInfo info(name);
        const QString png = info.completeBaseName() + QStringLiteral(".png");
        const QString out = outputDir ? folder.filePath(png) : info.dir().filePath(png);
        const auto [other, fresh] = levelOf.emplace(QFileInfo(out).absoluteFilePath(), name);
        if (!fresh)
            throw CliError(QStringLiteral("render: %1 and %2 would both be drawn to %3")
                               .arg(other->second, name, out));
        outputs << out;
    }
    // Made when missing, once the names are known to be fine; a file of that name stays a file.
    if (outputDir && !QDir().mkpath(folder.path()))
        Fail(folder.path(), QFileInfo::exists(folder.path())
                                ? QStringLiteral("not a folder")
                                : QStringLiteral("cannot make this folder for the pictures"));
    return outputs;
}

int Run(const QCommandLineParser& parser)
{
    const QStringList levels = LevelArguments(parser, QStringLiteral("render"));
    // Every option is read before any file is touched.
    const RenderOptions options = ReadOptions(parser);
    const QStringList outputs = Outputs(parser, levels);
    int status = kExitClean;
    for (qsizetype i = 0; i < levels.size(); ++i) {
        try {
            const QString name = LevelNameIn(parser, levels[i]);
            Render(levels[i], name, ResourcesFolderIn(parser, name), outputs[i], options);
        } catch (const CliError& error) {
            // The others are still drawn; the exit status says one could not be.
            PrintError(error.message());
            status = kExitTrouble;
        } catch (const ui::RuntimeError& error) {
            PrintError(LevelNameIn(parser, levels[i]) + QStringLiteral(": ") + ReasonText(error));
            status = kExitTrouble;
        }
    }
    return status;
}

} // namespace

Command RenderCommand()
{
    return {QStringLiteral("render"),
            QStringLiteral("LEVEL... [-r DIR] [-o OUT.png | --output-dir DIR] [--rows FIRST:LAST] "
                           "[--scale S] [--grid play|editor] [--background #RRGGBB]"),
            QStringLiteral("Draw a level as one PNG, as the play window or editor shows it."),
            Define, Run};
}

} // namespace hollenby::cli
