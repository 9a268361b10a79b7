#include "mapfiles.h"

#include "clierror.h"
#include "inputfile.h"
#include "jsonmapreader.h"
#include "maperror.h"
#include "picture.h"
#include "printable.h"
#include "tmxreader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <map>
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

TilesetLoader FileTilesetLoader(const QString& mapPath, QStringList* read)
{
    struct Files
    {
        Files(const QDir& folder, QStringList* read) : folder(folder), read(read) {}
        QDir folder;
        QStringList* read;
        std::map<QString, Tileset> parsed;          // by the file's canonical path
        std::map<QString, const Tileset*> bySource; // by the name the map gives it
        qint64 bytes = 0;
    };
    auto files = std::make_shared<Files>(QFileInfo(ui::NativePath(mapPath)).dir(), read);
    return [files](const QString& source) {
        if (const auto known = files->bySource.find(source); known != files->bySource.end())
            return *known->second;
        const QString where = QStringLiteral("tileset %1").arg(Printable(source));
        const QString path = files->folder.filePath(source);
        const QString canonical = QFileInfo(path).canonicalFilePath();
        if (const auto known = files->parsed.find(canonical);
            !canonical.isEmpty() && known != files->parsed.end()) {
            files->bySource[source] = &known->second;
            return known->second;
        }
        const std::optional<MapFormat> format = FormatOfTileset(path);
        if (!format)
            MapFail(where + QStringLiteral(": a tileset file's name must end in .tsx, .tsj or "
                                           ".json"));
        QByteArray bytes;
        try {
            bytes = ReadMapFile(path);
        } catch (const CliError& error) {
            MapFail(where + QStringLiteral(": ") + error.reason());
        }
        if (files->read != nullptr)
            *files->read << path;
        files->bytes += bytes.size();
        if (files->bytes > kMaxMapFileBytes)
            MapFail(where + QStringLiteral(": the map's tileset files come to more than %1 MiB "
                                           "in all")
                                .arg(kMaxMapFileBytes >> 20));
        try {
            Tileset tileset =
                *format == MapFormat::Tmx ? ReadTsxTileset(bytes) : ReadJsonTileset(bytes);
            const Tileset& parsed =
                files->parsed.emplace(canonical, std::move(tileset)).first->second;
            files->bySource[source] = &parsed;
            return parsed;
        } catch (const MapError& error) {
            MapFail(where + QStringLiteral(": ") + error.reason());
        }
    };
}

} // namespace hollenby::cli::tiled
