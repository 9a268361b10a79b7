#include "tmxreader.h"

#include "cellbudget.h"
#include "layerdata.h"
#include "maperror.h"
#include "printable.h"

#include <QXmlStreamReader>

#include <climits>
#include <optional>

namespace hollenby::cli::tiled {

namespace {

class TmxReader
{
public:
    explicit TmxReader(const QByteArray& bytes) : m_xml(bytes) {}

    Map readMap(const TilesetLoader& loader)
    {
        Map map;
        requireRoot(QStringLiteral("map"));
        map.orientation = m_xml.attributes().value(QStringLiteral("orientation")).toString();
        map.width = number(QStringLiteral("width"), 0, INT_MAX);
        map.height = number(QStringLiteral("height"), 0, INT_MAX);
        map.tileSize = {number(QStringLiteral("tilewidth"), 1, INT_MAX),
                        number(QStringLiteral("tileheight"), 1, INT_MAX)};
        map.infinite = number(QStringLiteral("infinite"), 0, 1, 0) == 1;
        while (nextChild()) {
            if (m_xml.name() == QLatin1String("tileset"))
                map.tilesets.push_back(readTilesetReference(loader));
            else if (m_xml.name() == QLatin1String("properties"))
                readProperties(map.properties);
            else
                readLayerElement(map);
        }
        finish();
        return map;
    }

    Tileset readTilesetFile()
    {
        requireRoot(QStringLiteral("tileset"));
        Tileset tileset;
        readTileset(tileset);
        finish();
        return tileset;
    }

    // Where the reader stands: "line 3", or "line 3, column 5" in a broken document.
    QString where() const
    {
        const QString line = QStringLiteral("line %1").arg(m_xml.lineNumber());
        return m_xml.hasError() ? line + QStringLiteral(", column %1").arg(m_xml.columnNumber())
                                : line;
    }

private:
    // Elements are entered only through nextChild(), left only through it or skip(), so that
    // m_depth is how deep the reader stands, and no file can make it nest without bound.
    bool nextChild()
    {
        if (m_xml.readNextStartElement()) {
            if (++m_depth > kMaxElementDepth)
                MapFail(QStringLiteral("elements nest more than %1 deep").arg(kMaxElementDepth));
            return true;
        }
        --m_depth; // the end of the element the reader stood in
        return false;
    }

    // Passes over the rest of the current element, however deep its content goes.
    void skip()
    {
        const int depth = m_depth;
        while (m_depth >= depth && !m_xml.atEnd()) {
            const QXmlStreamReader::TokenType token = m_xml.readNext();
            if (token == QXmlStreamReader::StartElement && ++m_depth > kMaxElementDepth)
                MapFail(QStringLiteral("elements nest more than %1 deep").arg(kMaxElementDepth));
            if (token == QXmlStreamReader::EndElement)
                --m_depth;
        }
        failOnXmlError();
    }

    // The text of the current element, which must hold no elements; the element is left.
    QString text()
    {
        QString value = m_xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
        --m_depth;
        failOnXmlError();
        return value;
    }

    void requireRoot(const QString& name)
    {
        if (!nextChild()) {
            failOnXmlError();
            MapFail(QStringLiteral("the file holds no XML element"));
        }
        if (m_xml.name() != name)
            MapFail(QStringLiteral("the file's root element is <%1>, not <%2>")
                        .arg(Printable(m_xml.name().toString()), name));
    }

    // Reads to the end, so that a document broken after its last element is refused too.
    void finish()
    {
        while (!m_xml.atEnd())
            m_xml.readNext();
        failOnXmlError();
    }

    void failOnXmlError()
    {
        if (m_xml.hasError())
            MapFail(m_xml.errorString());
    }

    // An integer attribute of the current element within [low, high]; `fallback` when absent,
    // or an error when the attribute is required (no fallback).
    int number(const QString& name, int low, int high, std::optional<int> fallback = {})
    {
        const QStringView text = m_xml.attributes().value(name);
        if (text.isNull()) {
            if (fallback)
                return *fallback;
            MapFail(QStringLiteral("<%1> has no %2").arg(Printable(m_xml.name().toString()), name));
        }
        bool ok = false;
        const qlonglong value = text.toLongLong(&ok);
        if (!ok || value < low || value > high)
            MapFail(QStringLiteral("<%1> %2 \"%3\" is not a whole number from %4 to %5")
                        .arg(Printable(m_xml.name().toString()), name, Printable(text.toString()))
                        .arg(low)
                        .arg(high));
        return int(value);
    }

    std::int64_t coordinate(const QString& name) { return number(name, INT_MIN, INT_MAX); }

    Tileset readTilesetReference(const TilesetLoader& loader)
    {
        const std::uint32_t firstGid =
            std::uint32_t(number(QStringLiteral("firstgid"), 1, INT_MAX));
        const QString source = m_xml.attributes().value(QStringLiteral("source")).toString();
        Tileset tileset;
        if (source.isEmpty()) {
            readTileset(tileset);
        } else {
            tileset = loader(source);
            tileset.source = source;
            skip();
        }
        tileset.firstGid = firstGid;
        return tileset;
    }

    void readTileset(Tileset& tileset)
    {
        tileset.name = m_xml.attributes().value(QStringLiteral("name")).toString();
        const int tileCount = number(QStringLiteral("tilecount"), 0, INT_MAX, -1);
        tileset.tileSize = {number(QStringLiteral("tilewidth"), 0, INT_MAX, 0),
                            number(QStringLiteral("tileheight"), 0, INT_MAX, 0)};
        const int margin = number(QStringLiteral("margin"), 0, INT_MAX, 0);
        const int spacing = number(QStringLiteral("spacing"), 0, INT_MAX, 0);
        QSize imageSize;
        while (nextChild()) {
            if (m_xml.name() == QLatin1String("image")) {
                tileset.atlasImage = m_xml.attributes().value(QStringLiteral("source")).toString();
                imageSize = {number(QStringLiteral("width"), 0, INT_MAX, -1),
                             number(QStringLiteral("height"), 0, INT_MAX, -1)};
                skip();
            } else if (m_xml.name() == QLatin1String("tile")) {
                readTile(tileset);
            } else {
                skip();
            }
        }
        // Files from before Tiled wrote the count give the image's size to count from.
        tileset.tileCount = tileCount >= 0
                                ? tileCount
                                : AtlasTileCount(imageSize, tileset.tileSize, margin, spacing);
    }

    void readTile(Tileset& tileset)
    {
        Tile tile;
        tile.id = number(QStringLiteral("id"), 0, INT_MAX);
        while (nextChild()) {
            if (m_xml.name() == QLatin1String("image")) {
                tile.image = m_xml.attributes().value(QStringLiteral("source")).toString();
                skip();
            } else if (m_xml.name() == QLatin1String("properties")) {
                Properties properties;
                readProperties(properties);
                if (const auto code = properties.find(QStringLiteral("code"));
                    code != properties.end())
                    tile.code = code->second;
            } else {
                skip();
            }
        }
        tileset.tiles.insert(tile.id, tile);
    }

    void readProperties(Properties& properties)
    {
        while (nextChild()) {
            const QXmlStreamAttributes attributes = m_xml.attributes();
            if (m_xml.name() != QLatin1String("property")) {
                skip();
                continue;
            }
            Property property;
            const QStringView type = attributes.value(QStringLiteral("type"));
            if (!type.isEmpty())
                property.type = type.toString();
            // A value with line breaks is written as the element's text instead; a class's
            // members are elements, which no property read here has.
            const QStringView value = attributes.value(QStringLiteral("value"));
            if (value.isNull() && property.type != QLatin1String("class")) {
                property.value = text();
            } else {
                property.value = value.toString();
                skip();
            }
            properties[attributes.value(QStringLiteral("name")).toString()] = property;
        }
    }

    // Groups nest no deeper than the elements do, which nextChild() bounds.
    void readLayerElement(Map& map)
    {
        const QString name = m_xml.attributes().value(QStringLiteral("name")).toString();
        if (m_xml.name() == QLatin1String("layer")) {
            readTileLayer(map);
        } else if (m_xml.name() == QLatin1String("group")) {
            while (nextChild())
                readLayerElement(map);
        } else {
            if (m_xml.name() == QLatin1String("objectgroup"))
                map.otherLayers << name + QStringLiteral(" (object layer)");
            else if (m_xml.name() == QLatin1String("imagelayer"))
                map.otherLayers << name + QStringLiteral(" (image layer)");
            skip();
        }
    }

    void readTileLayer(Map& map)
    {
        TileLayer layer;
        layer.name = m_xml.attributes().value(QStringLiteral("name")).toString();
        layer.visible = number(QStringLiteral("visible"), 0, 1, 1) == 1;
        layer.width = number(QStringLiteral("width"), 0, INT_MAX);
        layer.height = number(QStringLiteral("height"), 0, INT_MAX);
        const QString what = QStringLiteral("layer \"%1\"").arg(layer.name);
        bool hasData = false;
        while (nextChild()) {
            if (m_xml.name() != QLatin1String("data")) {
                skip();
                continue;
            }
            hasData = true;
            const std::int64_t cells =
                map.infinite ? 0 : m_budget.take(layer.width, layer.height, what);
            layer.gids = readCells(cells, map.infinite ? &layer : nullptr);
        }
        if (!hasData && !map.infinite)
            MapFail(QStringLiteral("%1 has no <data>").arg(what));
        map.tileLayers.push_back(std::move(layer));
    }

    // The content of a <data> or <chunk>: text in the data's encoding, or <tile gid="..."/>
    // elements when it has none. The chunks of an infinite layer's <data> go to `chunksOf`.
    std::vector<std::uint32_t> readCells(std::int64_t count, TileLayer* chunksOf)
    {
        const QXmlStreamAttributes attributes = m_xml.attributes();
        if (attributes.hasAttribute(QStringLiteral("encoding"))) {
            m_encoding = attributes.value(QStringLiteral("encoding")).toString();
            m_compression = attributes.value(QStringLiteral("compression")).toString();
        } else if (m_xml.name() == QLatin1String("data")) {
            m_encoding.clear();
            m_compression.clear();
        }
        QString text;
        std::vector<std::uint32_t> gids;
        while (!m_xml.atEnd()) {
            const QXmlStreamReader::TokenType token = m_xml.readNext();
            if (token == QXmlStreamReader::EndElement) {
                --m_depth;
                break;
            }
            if (token == QXmlStreamReader::Characters) {
                text += m_xml.text();
            } else if (token == QXmlStreamReader::StartElement) {
                if (++m_depth > kMaxElementDepth)
                    MapFail(
                        QStringLiteral("elements nest more than %1 deep").arg(kMaxElementDepth));
                if (m_xml.name() == QLatin1String("chunk") && chunksOf != nullptr)
                    chunksOf->chunks.push_back(readChunk(chunksOf->name));
                else if (m_xml.name() == QLatin1String("tile") && m_encoding.isEmpty() &&
                         chunksOf == nullptr)
                    gids.push_back(xmlCell(gids.size(), count));
                else
                    skip();
            }
        }
        failOnXmlError();
        if (chunksOf != nullptr)
            return {};
        if (m_encoding.isEmpty()) {
            if (std::int64_t(gids.size()) != count)
                MapFail(QStringLiteral("the layer data holds %1 cells where the layer has %2")
                            .arg(gids.size())
                            .arg(count));
            return gids;
        }
        if (m_encoding == QLatin1String("csv"))
            return DecodeCsvGids(text, count);
        if (m_encoding == QLatin1String("base64"))
            return DecodeBase64Gids(text.toLatin1(), m_compression, count);
        MapFail(QStringLiteral("the layer data's encoding \"%1\" is not csv or base64")
                    .arg(Printable(m_encoding)));
    }

    std::uint32_t xmlCell(std::size_t index, std::int64_t count)
    {
        if (std::int64_t(index) >= count)
            MapFail(QStringLiteral("the layer data holds more than its %1 cells").arg(count));
        const QStringView text = m_xml.attributes().value(QStringLiteral("gid"));
        bool ok = true;
        const std::uint32_t gid = text.isNull() ? 0 : text.toUInt(&ok);
        if (!ok)
            MapFail(QStringLiteral("<tile> gid \"%1\" is not a tile number")
                        .arg(Printable(text.toString())));
        skip();
        return gid;
    }

    Chunk readChunk(const QString& layerName)
    {
        Chunk chunk;
        chunk.x = coordinate(QStringLiteral("x"));
        chunk.y = coordinate(QStringLiteral("y"));
        chunk.width = number(QStringLiteral("width"), 0, INT_MAX);
        chunk.height = number(QStringLiteral("height"), 0, INT_MAX);
        const std::int64_t cells = m_budget.take(
            chunk.width, chunk.height, QStringLiteral("a chunk of layer \"%1\"").arg(layerName));
        chunk.gids = readCells(cells, nullptr);
        return chunk;
    }

    QXmlStreamReader m_xml;
    int m_depth = 0;
    CellBudget m_budget;
    QString m_encoding;
    QString m_compression;
};

template <class Read> auto WithLine(TmxReader& reader, Read read)
{
    try {
        return read();
    } catch (const MapError& error) {
        throw MapError(reader.where() + QStringLiteral(": ") + error.reason());
    }
}

} // namespace

Map ReadTmxMap(const QByteArray& bytes, const TilesetLoader& loader)
{
    TmxReader reader(bytes);
    return WithLine(reader, [&] { return reader.readMap(loader); });
}

Tileset ReadTsxTileset(const QByteArray& bytes)
{
    TmxReader reader(bytes);
    return WithLine(reader, [&] { return reader.readTilesetFile(); });
}

} // namespace hollenby::cli::tiled
