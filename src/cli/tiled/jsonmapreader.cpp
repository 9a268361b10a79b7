#include "jsonmapreader.h"

#include "cellbudget.h"
#include "layerdata.h"
#include "maperror.h"
#include "printable.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <climits>
#include <cmath>
#include <optional>

namespace hollenby::cli::tiled {

namespace {

QJsonObject ParseObject(const QByteArray& bytes)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        MapFail(QStringLiteral("not valid JSON at byte %1: %2")
                    .arg(error.offset)
                    .arg(error.errorString()));
    if (!document.isObject())
        MapFail(QStringLiteral("the file holds no JSON object"));
    return document.object();
}

// An integer member within [low, high]; `fallback` when absent, or an error when it is required.
std::int64_t Number(const QJsonObject& object, const QString& key, std::int64_t low,
                    std::int64_t high, const QString& where,
                    std::optional<std::int64_t> fallback = {})
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined()) {
        if (fallback)
            return *fallback;
        MapFail(QStringLiteral("%1 has no \"%2\"").arg(where, key));
    }
    const double number = value.toDouble(std::nan(""));
    if (!(number >= double(low) && number <= double(high)) || std::trunc(number) != number)
        MapFail(QStringLiteral("%1 \"%2\" is not a whole number from %3 to %4")
                    .arg(where, key)
                    .arg(low)
                    .arg(high));
    return std::int64_t(number);
}

int Size(const QJsonObject& object, const QString& key, const QString& where)
{
    return int(Number(object, key, 0, INT_MAX, where));
}

QString Text(const QJsonObject& object, const QString& key)
{
    return object.value(key).toString();
}

// A property's type as the file gives it, else as its value shows it: files written before Tiled
// wrote types keep numbers and booleans as such.
QString TypeOf(const QJsonValue& value, const QJsonValue& type)
{
    if (type.isString())
        return type.toString();
    switch (value.type()) {
    case QJsonValue::Bool:
        return QStringLiteral("bool");
    case QJsonValue::Double:
        return std::trunc(value.toDouble()) == value.toDouble() ? QStringLiteral("int")
                                                                : QStringLiteral("float");
    case QJsonValue::String:
        return QStringLiteral("string");
    default:
        return QStringLiteral("class");
    }
}

Property PropertyOf(const QJsonValue& value, const QJsonValue& type)
{
    Property property;
    property.type = TypeOf(value, type);
    property.value = value.isString() ? value.toString() : value.toVariant().toString();
    return property;
}

// "properties" as an array of {name, type, value}, or, in files written before Tiled 1.2, as an
// object of values by name with their types in a second object.
Properties PropertiesOf(const QJsonValue& properties, const QJsonValue& types)
{
    Properties read;
    if (properties.isArray()) {
        for (const QJsonValue entry : properties.toArray()) {
            const QJsonObject object = entry.toObject();
            read[Text(object, QStringLiteral("name"))] = PropertyOf(
                object.value(QStringLiteral("value")), object.value(QStringLiteral("type")));
        }
        return read;
    }
    const QJsonObject byName = properties.toObject();
    const QJsonObject typeByName = types.toObject();
    for (auto it = byName.begin(); it != byName.end(); ++it)
        read[it.key()] = PropertyOf(it.value(), typeByName.value(it.key()));
    return read;
}

Tile TileFromJson(const QJsonObject& object, int id)
{
    Tile tile;
    tile.id = id;
    tile.image = Text(object, QStringLiteral("image"));
    const Properties properties = PropertiesOf(object.value(QStringLiteral("properties")),
                                               object.value(QStringLiteral("propertytypes")));
    if (const auto code = properties.find(QStringLiteral("code")); code != properties.end())
        tile.code = code->second;
    return tile;
}

Tileset TilesetFromJson(const QJsonObject& object)
{
    Tileset tileset;
    tileset.name = Text(object, QStringLiteral("name"));
    const QString where = QStringLiteral("tileset \"%1\"").arg(Printable(tileset.name));
    const auto number = [&](const char* key, std::int64_t fallback) {
        return int(Number(object, QLatin1String(key), 0, INT_MAX, where, fallback));
    };
    tileset.tileSize = {number("tilewidth", 0), number("tileheight", 0)};
    tileset.atlasImage = Text(object, QStringLiteral("image"));
    // Files from before Tiled wrote the count give the image's size to count from.
    tileset.tileCount = number("tilecount", -1);
    if (tileset.tileCount < 0)
        tileset.tileCount =
            AtlasTileCount({number("imagewidth", -1), number("imageheight", -1)}, tileset.tileSize,
                           number("margin", 0), number("spacing", 0));
    const QJsonValue tiles = object.value(QStringLiteral("tiles"));
    if (tiles.isArray()) {
        for (const QJsonValue entry : tiles.toArray()) {
            const QJsonObject tileObject = entry.toObject();
            const int id =
                int(Number(tileObject, QStringLiteral("id"), 0, INT_MAX, where + " tile"));
            tileset.tiles.insert(id, TileFromJson(tileObject, id));
        }
    } else {
        // Before Tiled 1.2: tiles by id, and their properties beside them.
        const QJsonObject byId = tiles.toObject();
        const QJsonObject properties = object.value(QStringLiteral("tileproperties")).toObject();
        const QJsonObject types = object.value(QStringLiteral("tilepropertytypes")).toObject();
        QStringList ids = byId.keys() + properties.keys();
        ids.removeDuplicates();
        for (const QString& key : ids) {
            bool ok = false;
            const int id = key.toInt(&ok);
            if (!ok || id < 0)
                MapFail(QStringLiteral("%1 has a tile whose id \"%2\" is not a whole number from 0")
                            .arg(where, Printable(key)));
            QJsonObject tileObject = byId.value(key).toObject();
            if (properties.contains(key)) {
                tileObject.insert(QStringLiteral("properties"), properties.value(key));
                tileObject.insert(QStringLiteral("propertytypes"), types.value(key));
            }
            tileset.tiles.insert(id, TileFromJson(tileObject, id));
        }
    }
    return tileset;
}

class JsonMapReader
{
public:
    explicit JsonMapReader(const TilesetLoader& loader) : m_loader(loader) {}

    Map read(const QJsonObject& object)
    {
        const QJsonValue type = object.value(QStringLiteral("type"));
        if (!type.isUndefined() && type != QLatin1String("map"))
            MapFail(
                QStringLiteral("the file holds a %1, not a map").arg(Printable(type.toString())));
        const QString where = QStringLiteral("the map");
        Map map;
        map.orientation = Text(object, QStringLiteral("orientation"));
        map.width = Size(object, QStringLiteral("width"), where);
        map.height = Size(object, QStringLiteral("height"), where);
        map.tileSize = {int(Number(object, QStringLiteral("tilewidth"), 1, INT_MAX, where)),
                        int(Number(object, QStringLiteral("tileheight"), 1, INT_MAX, where))};
        map.infinite = object.value(QStringLiteral("infinite")).toBool();
        map.properties = PropertiesOf(object.value(QStringLiteral("properties")),
                                      object.value(QStringLiteral("propertytypes")));
        for (const QJsonValue entry : object.value(QStringLiteral("tilesets")).toArray())
            map.tilesets.push_back(readTilesetReference(entry.toObject()));
        readLayers(map, object.value(QStringLiteral("layers")).toArray(), 0);
        return map;
    }

private:
    Tileset readTilesetReference(const QJsonObject& object)
    {
        const auto firstGid = std::uint32_t(
            Number(object, QStringLiteral("firstgid"), 1, INT_MAX, QStringLiteral("a tileset")));
        const QString source = Text(object, QStringLiteral("source"));
        Tileset tileset = source.isEmpty() ? TilesetFromJson(object) : m_loader(source);
        tileset.source = source;
        tileset.firstGid = firstGid;
        return tileset;
    }

    void readLayers(Map& map, const QJsonArray& layers, int depth)
    {
        for (const QJsonValue entry : layers) {
            const QJsonObject layer = entry.toObject();
            const QString type = Text(layer, QStringLiteral("type"));
            const QString name = Text(layer, QStringLiteral("name"));
            if (type == QLatin1String("tilelayer")) {
                map.tileLayers.push_back(readTileLayer(layer, map.infinite));
            } else if (type == QLatin1String("group")) {
                if (depth == kMaxGroupDepth)
                    MapFail(QStringLiteral("groups nest more than %1 deep").arg(kMaxGroupDepth));
                readLayers(map, layer.value(QStringLiteral("layers")).toArray(), depth + 1);
            } else if (type == QLatin1String("objectgroup")) {
                map.otherLayers << name + QStringLiteral(" (object layer)");
            } else if (type == QLatin1String("imagelayer")) {
                map.otherLayers << name + QStringLiteral(" (image layer)");
            }
        }
    }

    TileLayer readTileLayer(const QJsonObject& object, bool infinite)
    {
        TileLayer layer;
        layer.name = Text(object, QStringLiteral("name"));
        layer.visible = object.value(QStringLiteral("visible")).toBool(true);
        const QString where = QStringLiteral("layer \"%1\"").arg(Printable(layer.name));
        layer.width = Size(object, QStringLiteral("width"), where);
        layer.height = Size(object, QStringLiteral("height"), where);
        if (!infinite) {
            const std::int64_t cells = m_budget.take(layer.width, layer.height, where);
            layer.gids = readCells(object, object, cells, where);
            return layer;
        }
        for (const QJsonValue entry : object.value(QStringLiteral("chunks")).toArray()) {
            const QJsonObject chunkObject = entry.toObject();
            const QString chunkWhere = QStringLiteral("a chunk of ") + where;
            Chunk chunk;
            chunk.x = Number(chunkObject, QStringLiteral("x"), INT_MIN, INT_MAX, chunkWhere);
            chunk.y = Number(chunkObject, QStringLiteral("y"), INT_MIN, INT_MAX, chunkWhere);
            chunk.width = Size(chunkObject, QStringLiteral("width"), chunkWhere);
            chunk.height = Size(chunkObject, QStringLiteral("height"), chunkWhere);
            const std::int64_t cells = m_budget.take(chunk.width, chunk.height, chunkWhere);
            chunk.gids = readCells(object, chunkObject, cells, chunkWhere);
            layer.chunks.push_back(std::move(chunk));
        }
        return layer;
    }

    // The "data" of `holder` (the layer or one of its chunks), encoded as the layer says.
    static std::vector<std::uint32_t> readCells(const QJsonObject& layer, const QJsonObject& holder,
                                                std::int64_t count, const QString& where)
    {
        const QJsonValue data = holder.value(QStringLiteral("data"));
        const QString encoding = Text(layer, QStringLiteral("encoding"));
        if (encoding == QLatin1String("base64") && data.isString())
            return DecodeBase64Gids(data.toString().toLatin1(),
                                    Text(layer, QStringLiteral("compression")), count);
        if (!encoding.isEmpty() && encoding != QLatin1String("csv") &&
            encoding != QLatin1String("base64"))
            MapFail(QStringLiteral("%1's encoding \"%2\" is not csv or base64")
                        .arg(where, Printable(encoding)));
        if (!data.isArray())
            MapFail(QStringLiteral("%1's data is not %2")
                        .arg(where, encoding == QLatin1String("base64")
                                        ? QStringLiteral("a base64 text")
                                        : QStringLiteral("an array")));
        const QJsonArray array = data.toArray();
        if (array.size() != count)
            MapFail(QStringLiteral("%1's data holds %2 cells where the layer has %3")
                        .arg(where)
                        .arg(array.size())
                        .arg(count));
        std::vector<std::uint32_t> gids;
        gids.reserve(std::size_t(count));
        for (const QJsonValue cell : array) {
            const double gid = cell.toDouble(-1);
            if (!(gid >= 0 && gid <= UINT32_MAX) || std::trunc(gid) != gid)
                MapFail(QStringLiteral("%1's data has a cell (number %2) that is not a tile number")
                            .arg(where)
                            .arg(gids.size() + 1));
            gids.push_back(std::uint32_t(gid));
        }
        return gids;
    }

    const TilesetLoader& m_loader;
    CellBudget m_budget;
};

} // namespace

Map ReadJsonMap(const QByteArray& bytes, const TilesetLoader& loader)
{
    return JsonMapReader(loader).read(ParseObject(bytes));
}

Tileset ReadJsonTileset(const QByteArray& bytes)
{
    const QJsonObject object = ParseObject(bytes);
    const QJsonValue type = object.value(QStringLiteral("type"));
    if (!type.isUndefined() && type != QLatin1String("tileset"))
        MapFail(
            QStringLiteral("the file holds a %1, not a tileset").arg(Printable(type.toString())));
    return TilesetFromJson(object);
}

} // namespace hollenby::cli::tiled
