// render: the whole level, or some of its rows, as one PNG.

#include "clierror.h"
#include "level.h"
#include "levelcommands.h"
#include "levelinput.h"
#include "levelraster.h"
#include "levelrows.h"
#include "optionvalues.h"
#include "outputfile.h"
#include "picture.h"
#include "picturewriter.h"
#include "pngwriter.h"
#include "tileset.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <thread>

namespace hollenby::cli {

namespace {

const QString kResources = QStringLiteral("resources");
const QString kOutput = QStringLiteral("output");
const QString kRows = QStringLiteral("rows");
const QString kScale = QStringLiteral("scale");
const QString kGrid = QStringLiteral("grid");
const QString kBackground = QStringLiteral("background");
const QString kJobs = QStringLiteral("jobs");

void Define(QCommandLineParser& parser)
{
    parser.addPositionalArgument(QStringLiteral("LEVEL"), QStringLiteral("The level file."));
    parser.addOptions({
        {{QStringLiteral("r"), kResources},
         QStringLiteral("The resources folder with the tile bitmaps (default: _resources beside "
                        "the level)."),
         QStringLiteral("DIR")},
        {{QStringLiteral("o"), kOutput},
         QStringLiteral("The PNG to write (default: the level's name with .png)."),
         QStringLiteral("OUT.png")},
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
}

QString DefaultOutput(const QString& level)
{
    const QFileInfo info(level);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".png"));
}

void RequireFolder(const QString& folder)
{
    const QFileInfo info(ui::NativePath(folder));
    if (!info.exists())
        Fail(folder, QStringLiteral("no such resources folder (name one with -r DIR)"));
    if (!info.isDir())
        Fail(folder, QStringLiteral("not a folder; -r names the folder of tile bitmaps"));
}

int Run(const QCommandLineParser& parser)
{
    const QStringList arguments = parser.positionalArguments();
    if (arguments.size() != 1)
        throw CliError(QStringLiteral("render takes one LEVEL; 'hollenby-level help render' "
                                      "shows how"));
    const QString& levelPath = arguments.first();

    // Every option is read before any file is touched.
    RowRange range;
    if (parser.isSet(kRows))
        range = ParseRowRange(QStringLiteral("--rows"), parser.value(kRows));
    const double scale = ParseScale(QStringLiteral("--scale"), parser.value(kScale));
    const bool editorGrid =
        ParseChoice(QStringLiteral("--grid"), parser.value(kGrid),
                    {QStringLiteral("play"), QStringLiteral("editor")}) == QLatin1String("editor");
    std::optional<std::uint32_t> background;
    if (parser.isSet(kBackground))
        background = ParseColour(QStringLiteral("--background"), parser.value(kBackground));
    int threads = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    if (parser.isSet(kJobs))
        threads = ParseCount(QStringLiteral("--jobs"), parser.value(kJobs), 64);
    const QString outPath =
        parser.isSet(kOutput) ? parser.value(kOutput) : DefaultOutput(levelPath);
    OutputFile::Check(outPath, {levelPath});
    if (!OutputFile::HasSuffix(outPath, {QStringLiteral("png")}))
        Fail(outPath, QStringLiteral("render writes a PNG; give a name ending in .png"));

    const LevelText level(levelPath);
    level.requireText();
    const QString folder = ResourcesFolder(levelPath, parser.value(kResources));
    RequireFolder(folder);

    const std::vector<RowSlots> rows = DrawableRowSlots(level.lines(), levelPath);
    const auto count = static_cast<std::int64_t>(rows.size());
    if (range.first > count)
        Fail(levelPath, QStringLiteral("--rows starts at row %1, but the level has %2 rows")
                            .arg(range.first)
                            .arg(count));
    const std::span<const RowSlots> selected(
        rows.data() + range.first - 1,
        static_cast<std::size_t>(std::min(range.last, count) - range.first + 1));

    const RasterLayout layout = editorGrid ? EditorLayout() : PlayLayout();
    const std::int64_t height = static_cast<std::int64_t>(selected.size()) * layout.rowPitch;
    if (height > kPngMaxSide)
        Fail(levelPath, QStringLiteral("%1 rows make a picture %2 pixels high; a PNG may be at "
                                       "most %3 (use --rows)")
                            .arg(selected.size())
                            .arg(height)
                            .arg(kPngMaxSide));

    const TileUse used = UsedTiles(selected);
    const TileSet tiles(folder, used, TileSet::Fallback::Blank);
    const LevelRaster raster(selected, tiles, layout, background);

    QStringList inputs = {levelPath};
    for (int i = 0; i < kTileCodeCount; ++i) {
        if (used[std::size_t(i)])
            inputs << TileBitmapNativePath(folder, TileCodes()[std::size_t(i)]);
    }
    OutputFile out(outPath, inputs);
    PictureOptions options;
    options.size = ScaledSize({raster.width(), raster.height()}, scale);
    options.threads = threads;
    options.progressLabel = QStringLiteral("rendering ") + levelPath;
    WritePicture(raster, tiles, background.has_value(), options, out);
    out.commit();
    return kExitClean;
}

} // namespace

Command RenderCommand()
{
    return {QStringLiteral("render"),
            QStringLiteral("LEVEL [-r DIR] [-o OUT.png] [--rows FIRST:LAST] [--scale S] "
                           "[--grid play|editor] [--background #RRGGBB]"),
            QStringLiteral("Draw a level as one PNG, as the play window or editor shows it."),
            Define, Run};
}

} // namespace hollenby::cli
