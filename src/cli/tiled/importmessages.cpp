#include "importmessages.h"

#include "grid.h"
#include "printable.h"

#include <QStringList>

namespace hollenby::cli::tiled::importmessage {

namespace {

constexpr int kColumns = grid::kColumns;
const QString kFix = QStringLiteral("make it a string property, e.g. \"01\"");

QString Quoted(const QString& text)
{
    return QLatin1Char('"') + Printable(text) + QLatin1Char('"');
}

QString Tile(int id, const QString& tileset)
{
    return QStringLiteral("tile %1 of tileset %2").arg(id).arg(Quoted(tileset));
}

} // namespace

QString CellTextProblem(const QString& code)
{
    if (code.isEmpty())
        return QStringLiteral("is empty");
    for (const QChar c : code) {
        const char16_t u = c.unicode();
        if (u == 0)
            return QStringLiteral("has a NUL");
        if (u == ' ')
            return QStringLiteral("has a space");
        if (u == ',')
            return QStringLiteral("has a comma");
        if (u == '\r' || u == '\n')
            return QStringLiteral("has a line break");
        if (u < 0x20 || (u >= 0x7F && u <= 0x9F))
            return QStringLiteral("has a control character (%1)").arg(Printable(QString(c)));
        if (u > 0xFF)
            return QStringLiteral("has %1, which 8-bit level text cannot hold").arg(Quoted(c));
    }
    return {};
}

QString NotOrthogonal(const QString& orientation)
{
    return QStringLiteral("the map is %1; only an orthogonal map's rows are a level's rows")
        .arg(Printable(orientation));
}

QString LayersShareName(qsizetype count, const QString& name)
{
    return QStringLiteral("%1 tile layers are named %2; rename all but one in Tiled")
        .arg(count)
        .arg(Quoted(name));
}

QString LayerHoldsNoTiles(const QString& described)
{
    return QStringLiteral("layer %1 holds no tiles").arg(Printable(described));
}

QString NoLayerNamed(const QString& name, const QString& tileLayers)
{
    return QStringLiteral("no tile layer is named %1; the map's tile layers: %2")
        .arg(Quoted(name), tileLayers.isEmpty() ? QStringLiteral("none") : tileLayers);
}

QString NoTileLayer()
{
    return QStringLiteral("the map has no tile layer");
}

QString NoLevelLayer(qsizetype count, const QString& tileLayers)
{
    return QStringLiteral("the map has %1 tile layers and none named \"level\": %2; choose one "
                          "with --layer")
        .arg(count)
        .arg(tileLayers);
}

QString InfiniteLayerTooLarge(const QString& layer, std::int64_t width, std::int64_t height)
{
    return QStringLiteral("the infinite layer %1 spans %2 x %3 tiles; an import reads at most %4 "
                          "cells")
        .arg(Quoted(layer))
        .arg(width)
        .arg(height)
        .arg(kMaxCells);
}

QString LayerWithoutColumns(const QString& layer)
{
    return QStringLiteral("layer %1 is 0 tiles wide").arg(Quoted(layer));
}

QString LayerTooWide(const QString& layer, std::int64_t width, std::int64_t first,
                     std::int64_t last)
{
    const QString wide = QStringLiteral("layer %1 is %2 tiles wide; a level row draws %3")
                             .arg(Quoted(layer))
                             .arg(width)
                             .arg(kColumns);
    if (first < 0)
        return wide + QStringLiteral(", and the layer holds no tiles (--crop X keeps the %1 "
                                     "columns from X)")
                          .arg(kColumns);
    const QString where =
        QStringLiteral("; its tiles are in columns %1 to %2 (x in Tiled)").arg(first).arg(last);
    if (last - first >= kColumns)
        return wide + where +
               QStringLiteral(", more than a row holds (--crop X keeps the %1 columns from X)")
                   .arg(kColumns);
    return wide + where +
           QStringLiteral(": --crop %1 takes them").arg(std::min(first, width - kColumns));
}

QString CropPastEdge(const QString& layer, std::int64_t crop, std::int64_t width)
{
    return QStringLiteral("--crop %1: layer %2 is %3 tiles wide, so its columns end at %4")
        .arg(crop)
        .arg(Quoted(layer))
        .arg(width)
        .arg(width - 1);
}

QString GidBeyondTilesets(std::uint32_t gid)
{
    return QStringLiteral("gid %1 is beyond every tileset").arg(gid);
}

QString GidNamesNoTile(std::uint32_t gid, int id, const QString& tileset)
{
    return QStringLiteral("gid %1 names tile %2 of tileset %3, which has no such tile")
        .arg(gid)
        .arg(id)
        .arg(Quoted(tileset));
}

QString TileWithoutCode(int id, const QString& tileset)
{
    return Tile(id, tileset) +
           QStringLiteral(" has no code property, nor an image named after a game bitmap");
}

QString CodeNotString(int id, const QString& tileset, const QString& type)
{
    return Tile(id, tileset) +
           QStringLiteral(": its code property is of type %1; %2").arg(Printable(type), kFix);
}

QString CodeNotCell(int id, const QString& tileset, const QString& code, const QString& problem)
{
    return Tile(id, tileset) +
           QStringLiteral(": its code %1 %2, which a level cell cannot hold; give it a tile code, "
                          "e.g. \"01\"")
               .arg(Quoted(code), problem);
}

QString BadTrailingEmptyLines(const Property& property)
{
    return QStringLiteral("the map property \"%1\" is %2 %3; it must be an int from 0 to %4")
        .arg(kTrailingEmptyLinesProperty,
             property.type == QLatin1String("int")
                 ? QStringLiteral("the int")
                 : QStringLiteral("the %1").arg(Printable(property.type)),
             Quoted(property.value))
        .arg(kMaxTrailingEmptyLines);
}

QString TurnedTiles(const QString& layer, std::int64_t cells)
{
    return QStringLiteral("layer %1: %2 flipped or rotated, which a level cannot show; the tiles "
                          "are kept unturned [turned-tiles]")
        .arg(Quoted(layer),
             cells == 1 ? QStringLiteral("1 cell is") : QStringLiteral("%1 cells are").arg(cells));
}

QString UnknownCode(int id, const QString& tileset, const QString& code)
{
    return Tile(id, tileset) +
           QStringLiteral(" has the code %1, which is not a tile code, so its cells are blank "
                          "slots [unknown-code]")
               .arg(Quoted(code));
}

QString LayerList(const Map& map)
{
    QStringList names;
    for (const TileLayer& layer : map.tileLayers)
        names << Quoted(layer.name) + (layer.visible ? QString() : QStringLiteral(" (hidden)"));
    return names.join(QStringLiteral(", "));
}

} // namespace hollenby::cli::tiled::importmessage
