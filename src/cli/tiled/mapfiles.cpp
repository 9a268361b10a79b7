#include "mapfiles.h"

#include "clierror.h"
#include "inputfile.h"
#include "jsonmapreader.h"
#include "maperror.h"
#include "picture.h"
#include "tmxreader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <memory>

namespace hollenby::cli::tiled {

namespace {

std::optional<MapFormat> FormatBySuffix(const QString& path, const char* xml, const char* json)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String(xml))
        return MapFormat::Tmx;
    if (suffix == QLatin1String(json) || suffix == QLatin1String("json"))
        return MapFormat::Json;
    return std::nullopt;
}

} // namespace

std::optional<MapFormat> FormatOfMap(const QString& path)
{
    return FormatBySuffix(path, "tmx", "tmj");
}

std::optional<MapFormat> FormatOfTileset(const QString& path)
{
    return FormatBySuffix(path, "tsx", "tsj");
}

QByteArray ReadMapFile(const QString& path)
{
    const std::string bytes = ReadInputFile(path, kMaxMapFileBytes, [](qint64 size) {
        return QStringLiteral("the file is %1 MiB; a map or tileset file may be at most %2 MiB")
            .arg(double(size) / (1 << 20), 0, 'f', 1)
            .arg(kMaxMapFileBytes >> 20);
    });
    return {bytes.data(), qsizetype(bytes.size())};
}

Map ReadMap(const QByteArray& bytes, MapFormat format, const TilesetLoader& loader)
{
    return format == MapFormat::Tmx ? ReadTmxMap(bytes, loader) : ReadJsonMap(bytes, loader);
}

TilesetLoader FileTilesetLoader(const QString& mapPath)
{
    const QDir folder = QFileInfo(ui::NativePath(mapPath)).dir();
    // A map may name the same big tileset file many times; all it reads stays within one limit.
    auto read = std::make_shared<qint64>(0);
    return [folder, read](const QString& source) {
        const QString path = folder.filePath(source);
        const std::optional<MapFormat> format = FormatOfTileset(path);
        if (!format)
            Fail(path, QStringLiteral("a tileset file's extension must be .tsx, .tsj or .json"));
        const QByteArray bytes = ReadMapFile(path);
        *read += bytes.size();
        if (*read > kMaxMapFileBytes)
            Fail(path, QStringLiteral("the map's tileset files come to more than %1 MiB in all")
                           .arg(kMaxMapFileBytes >> 20));
        try {
            return *format == MapFormat::Tmx ? ReadTsxTileset(bytes) : ReadJsonTileset(bytes);
        } catch (const MapError& error) {
            Fail(path, error.reason());
        }
    };
}

} // namespace hollenby::cli::tiled
