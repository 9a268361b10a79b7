// thumbnail: a small picture of a level's first rows, for file managers.

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
#include "tileset.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace hollenby::cli {

namespace {

const QString kSize = QStringLiteral("size");

// The rows the editor shows on opening a level at its design size: its render view draws rows
// down to the scroll bar's height of 8145 twips, thirteen of them.
constexpr std::size_t kOpeningRows = 13;
constexpr int kMaxSize = 4096;

void Define(QCommandLineParser& parser)
{
    parser.addPositionalArgument(QStringLiteral("LEVEL"), QStringLiteral("The level file."));
    parser.addPositionalArgument(QStringLiteral("OUT.png"), QStringLiteral("The PNG to write."));
    parser.addOption({{QStringLiteral("s"), kSize},
                      QStringLiteral("The largest width and height, in pixels."),
                      QStringLiteral("SIZE")});
}

bool HasTileBitmap(const QString& folder)
{
    for (const auto code : TileCodes()) {
        if (QFileInfo(TileBitmapNativePath(folder, code)).isFile())
            return true;
    }
    return false;
}

// The level's own tile set, as the game lays it out: beside the level, or one level up (levels in
// sub-folders of a game). Empty when there is none: any other tile set, such as the samples
// installed with this program, would draw a picture of a game the level does not belong to.
QString FindTileFolder(const QString& levelPath)
{
    const QDir beside = QFileInfo(levelPath).dir();
    for (const QString& folder : {beside.filePath(QStringLiteral("_resources")),
                                  beside.filePath(QStringLiteral("../_resources"))}) {
        if (HasTileBitmap(folder))
            return folder;
    }
    return {};
}

int Run(const QCommandLineParser& parser)
{
    const QStringList arguments = parser.positionalArguments();
    if (arguments.size() != 2 || !parser.isSet(kSize))
        throw CliError(QStringLiteral("thumbnail takes -s SIZE LEVEL OUT.png"));
    const int size = ParseCount(QStringLiteral("-s"), parser.value(kSize), kMaxSize);
    const QString& levelPath = arguments.at(0);

    const LevelText level(levelPath, kOpeningRows);
    level.requireText();
    std::vector<RowSlots> rows = level.whole() ? DrawableRowSlots(level.lines(), levelPath)
                                               : LevelRowSlots(level.lines(), levelPath);
    if (!level.whole() && std::ranges::none_of(UsedTiles(rows), [](bool used) { return used; })) {
        Fail(levelPath, QStringLiteral("no tiles to draw: none of the cells of its first %1 rows "
                                       "is a tile code")
                            .arg(kOpeningRows));
    }

    // A preview is always drawn: without the level's own bitmap a code shows a flat colour.
    const TileSet tiles(FindTileFolder(levelPath), UsedTiles(rows), TileSet::Fallback::FlatColour);
    const LevelRaster raster(rows, tiles, EditorLayout(), std::nullopt);

    const double fit = std::min({1.0, static_cast<double>(size) / raster.width(),
                                 static_cast<double>(size) / static_cast<double>(raster.height())});
    PictureSize picture = ScaledSize({raster.width(), raster.height()}, fit);
    picture.width = std::min(picture.width, size);
    picture.height = std::min<std::int64_t>(picture.height, size);

    // File managers' thumbnail services may hold the output open: write into it.
    OutputFile out(arguments.at(1), levelPath, OutputFile::Existing::FillIfEmpty);
    PictureOptions options;
    options.size = picture;
    WritePicture(raster, tiles, false, options, out);
    out.commit();
    return kExitClean;
}

} // namespace

Command ThumbnailCommand()
{
    return {QStringLiteral("thumbnail"), QStringLiteral("-s SIZE LEVEL OUT.png"),
            QStringLiteral("Draw a level's first rows as a small preview, for file managers."),
            Define, Run};
}

} // namespace hollenby::cli
