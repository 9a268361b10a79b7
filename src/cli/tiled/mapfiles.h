#pragma once
// Map and tileset files on disk: their format by extension, reading them within a size limit,
// and external tilesets found beside the map.

#include "tiledmap.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace hollenby::cli::tiled {

enum class MapFormat
{
    Tmx,
    Json
};

// The largest map or tileset file read: far beyond any level's map, and small enough that a
// whole one parsed costs little memory.
inline constexpr qint64 kMaxMapFileBytes = qint64{16} << 20;

// A map file's format by its extension: .tmx is XML, .tmj and .json are JSON; any other has none.
std::optional<MapFormat> FormatOfMap(const QString& path);
// A tileset file's: .tsx is XML, .tsj and .json are JSON.
std::optional<MapFormat> FormatOfTileset(const QString& path);

// The whole file, refused before reading when larger than kMaxMapFileBytes, or when it is no
// regular file. Throws CliError ("PATH: reason").
QByteArray ReadMapFile(const QString& path);

// The map in `bytes`. Throws MapError for a broken map; the loader's errors pass through.
Map ReadMap(const QByteArray& bytes, MapFormat format, const TilesetLoader& loader);

// Reads external tilesets relative to the folder of `mapPath`, each file once however often the
// map names it, and all within one kMaxMapFileBytes. Adds each file it reads to `read`. Its
// errors are MapErrors naming the tileset as the map does.
TilesetLoader FileTilesetLoader(const QString& mapPath, QStringList* read = nullptr);

} // namespace hollenby::cli::tiled
