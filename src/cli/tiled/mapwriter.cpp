#include "mapwriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QXmlStreamWriter>

namespace hollenby::cli::tiled {

namespace {

// The file format version of Tiled 1.8, the oldest Tiled that reads every layer format here.
const QString kFormatVersion = QStringLiteral("1.8");

int LayerId(std::size_t index)
{
    return int(index) + 1;
}

// A string property is written without its type, as Tiled writes it.
void WriteTmxProperties(QXmlStreamWriter& xml, const Properties& properties)
{
    xml.writeStartElement(QStringLiteral("properties"));
    for (const auto& [name, property] : properties) {
        xml.writeEmptyElement(QStringLiteral("property"));
        xml.writeAttribute(QStringLiteral("name"), name);
        if (property.type != QLatin1String("string"))
            xml.writeAttribute(QStringLiteral("type"), property.type);
        xml.writeAttribute(QStringLiteral("value"), property.value);
    }
    xml.writeEndElement();
}

QJsonArray JsonProperties(const Properties& properties)
{
    QJsonArray array;
    for (const auto& [name, property] : properties) {
        const QJsonValue value = property.type == QLatin1String("int")
                                     ? QJsonValue(property.value.toLongLong())
                                     : QJsonValue(property.value);
        array.append(QJsonObject{{QStringLiteral("name"), name},
                                 {QStringLiteral("type"), property.type},
                                 {QStringLiteral("value"), value}});
    }
    return array;
}

void WriteTmxTileset(QXmlStreamWriter& xml, const Tileset& tileset)
{
    xml.writeStartElement(QStringLiteral("tileset"));
    xml.writeAttribute(QStringLiteral("firstgid"), QString::number(tileset.firstGid));
    xml.writeAttribute(QStringLiteral("name"), tileset.name);
    xml.writeAttribute(QStringLiteral("tilewidth"), QString::number(tileset.tileSize.width()));
    xml.writeAttribute(QStringLiteral("tileheight"), QString::number(tileset.tileSize.height()));
    xml.writeAttribute(QStringLiteral("tilecount"), QString::number(tileset.tileCount));
    xml.writeAttribute(QStringLiteral("columns"), QStringLiteral("0"));
    for (const auto& [id, tile] : tileset.tiles.asKeyValueRange()) {
        xml.writeStartElement(QStringLiteral("tile"));
        xml.writeAttribute(QStringLiteral("id"), QString::number(id));
        if (tile.code)
            WriteTmxProperties(xml, {{QStringLiteral("code"), *tile.code}});
        xml.writeEmptyElement(QStringLiteral("image"));
        xml.writeAttribute(QStringLiteral("width"), QString::number(tile.imageSize.width()));
        xml.writeAttribute(QStringLiteral("height"), QString::number(tile.imageSize.height()));
        xml.writeAttribute(QStringLiteral("source"), tile.image);
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

void WriteTmxLayer(QXmlStreamWriter& xml, const TileLayer& layer, int id, LayerFormat format)
{
    xml.writeStartElement(QStringLiteral("layer"));
    xml.writeAttribute(QStringLiteral("id"), QString::number(id));
    xml.writeAttribute(QStringLiteral("name"), layer.name);
    xml.writeAttribute(QStringLiteral("width"), QString::number(layer.width));
    xml.writeAttribute(QStringLiteral("height"), QString::number(layer.height));
    if (!layer.visible)
        xml.writeAttribute(QStringLiteral("visible"), QStringLiteral("0"));
    xml.writeStartElement(QStringLiteral("data"));
    if (format == LayerFormat::Csv) {
        xml.writeAttribute(QStringLiteral("encoding"), QStringLiteral("csv"));
        xml.writeCharacters(EncodeCsvGids(layer.gids, layer.width));
    } else {
        xml.writeAttribute(QStringLiteral("encoding"), QStringLiteral("base64"));
        if (format != LayerFormat::Base64)
            xml.writeAttribute(QStringLiteral("compression"), CompressionName(format));
        xml.writeCharacters(QStringLiteral("\n   ") +
                            QString::fromLatin1(EncodeBase64Gids(layer.gids, format)) +
                            QStringLiteral("\n  "));
    }
    xml.writeEndElement();
    xml.writeEndElement();
}

QJsonObject JsonTileset(const Tileset& tileset)
{
    QJsonArray tiles;
    for (const auto& [id, tile] : tileset.tiles.asKeyValueRange()) {
        QJsonObject object{{QStringLiteral("id"), id},
                           {QStringLiteral("image"), tile.image},
                           {QStringLiteral("imagewidth"), tile.imageSize.width()},
                           {QStringLiteral("imageheight"), tile.imageSize.height()}};
        if (tile.code)
            object.insert(QStringLiteral("properties"),
                          JsonProperties({{QStringLiteral("code"), *tile.code}}));
        tiles.append(object);
    }
    return {{QStringLiteral("firstgid"), qint64(tileset.firstGid)},
            {QStringLiteral("name"), tileset.name},
            {QStringLiteral("tilewidth"), tileset.tileSize.width()},
            {QStringLiteral("tileheight"), tileset.tileSize.height()},
            {QStringLiteral("tilecount"), tileset.tileCount},
            {QStringLiteral("columns"), 0},
            {QStringLiteral("margin"), 0},
            {QStringLiteral("spacing"), 0},
            {QStringLiteral("tiles"), tiles}};
}

// What stands in a layer's "data" until the document is written, where the layer's cells then go
// one map row per line, as Tiled lays them out, and without spaces: a JSON array of a number per
// line, as Qt would write it, makes a long level's map many times larger than its level, and
// larger than import reads.
QString DataPlaceholder(int id)
{
    return QStringLiteral("@layer-data-%1@").arg(id);
}

QByteArray JsonGids(const TileLayer& layer)
{
    QByteArray text = "[";
    const std::size_t width = std::size_t(std::max(layer.width, 1));
    for (std::size_t i = 0; i < layer.gids.size(); ++i) {
        if (i > 0)
            text += i % width == 0 ? ",\n" : ",";
        text += QByteArray::number(layer.gids[i]);
    }
    return text + ']';
}

QJsonObject JsonLayer(const TileLayer& layer, int id, LayerFormat format)
{
    QJsonObject object{{QStringLiteral("id"), id},
                       {QStringLiteral("name"), layer.name},
                       {QStringLiteral("type"), QStringLiteral("tilelayer")},
                       {QStringLiteral("width"), layer.width},
                       {QStringLiteral("height"), layer.height},
                       {QStringLiteral("x"), 0},
                       {QStringLiteral("y"), 0},
                       {QStringLiteral("opacity"), 1},
                       {QStringLiteral("visible"), layer.visible}};
    if (format == LayerFormat::Csv) {
        object.insert(QStringLiteral("data"), DataPlaceholder(id));
    } else {
        object.insert(QStringLiteral("encoding"), QStringLiteral("base64"));
        object.insert(QStringLiteral("compression"), CompressionName(format));
        object.insert(QStringLiteral("data"),
                      QString::fromLatin1(EncodeBase64Gids(layer.gids, format)));
    }
    return object;
}

} // namespace

QByteArray WriteTmxMap(const Map& map, LayerFormat format)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("map"));
    xml.writeAttribute(QStringLiteral("version"), kFormatVersion);
    xml.writeAttribute(QStringLiteral("orientation"), map.orientation);
    xml.writeAttribute(QStringLiteral("renderorder"), QStringLiteral("right-down"));
    xml.writeAttribute(QStringLiteral("width"), QString::number(map.width));
    xml.writeAttribute(QStringLiteral("height"), QString::number(map.height));
    xml.writeAttribute(QStringLiteral("tilewidth"), QString::number(map.tileSize.width()));
    xml.writeAttribute(QStringLiteral("tileheight"), QString::number(map.tileSize.height()));
    xml.writeAttribute(QStringLiteral("infinite"), QStringLiteral("0"));
    xml.writeAttribute(QStringLiteral("nextlayerid"),
                       QString::number(LayerId(map.tileLayers.size())));
    xml.writeAttribute(QStringLiteral("nextobjectid"), QStringLiteral("1"));
    if (!map.properties.empty())
        WriteTmxProperties(xml, map.properties);
    for (const Tileset& tileset : map.tilesets)
        WriteTmxTileset(xml, tileset);
    for (std::size_t i = 0; i < map.tileLayers.size(); ++i)
        WriteTmxLayer(xml, map.tileLayers[i], LayerId(i), format);
    xml.writeEndDocument();
    bytes.append('\n');
    return bytes;
}

QByteArray WriteJsonMap(const Map& map, LayerFormat format)
{
    QJsonArray tilesets;
    for (const Tileset& tileset : map.tilesets)
        tilesets.append(JsonTileset(tileset));
    QJsonArray layers;
    for (std::size_t i = 0; i < map.tileLayers.size(); ++i)
        layers.append(JsonLayer(map.tileLayers[i], LayerId(i), format));
    QJsonObject object{{QStringLiteral("type"), QStringLiteral("map")},
                       {QStringLiteral("version"), kFormatVersion},
                       {QStringLiteral("orientation"), map.orientation},
                       {QStringLiteral("renderorder"), QStringLiteral("right-down")},
                       {QStringLiteral("width"), map.width},
                       {QStringLiteral("height"), map.height},
                       {QStringLiteral("tilewidth"), map.tileSize.width()},
                       {QStringLiteral("tileheight"), map.tileSize.height()},
                       {QStringLiteral("infinite"), false},
                       {QStringLiteral("compressionlevel"), -1},
                       {QStringLiteral("nextlayerid"), LayerId(map.tileLayers.size())},
                       {QStringLiteral("nextobjectid"), 1},
                       {QStringLiteral("tilesets"), tilesets},
                       {QStringLiteral("layers"), layers}};
    if (!map.properties.empty())
        object.insert(QStringLiteral("properties"), JsonProperties(map.properties));
    QByteArray bytes = QJsonDocument(object).toJson(QJsonDocument::Indented);
    if (format == LayerFormat::Csv) {
        for (std::size_t i = 0; i < map.tileLayers.size(); ++i) {
            const QByteArray placeholder = '"' + DataPlaceholder(LayerId(i)).toLatin1() + '"';
            bytes.replace(placeholder, JsonGids(map.tileLayers[i]));
        }
    }
    return bytes;
}

} // namespace hollenby::cli::tiled
