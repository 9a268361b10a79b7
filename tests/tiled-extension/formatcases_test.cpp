// One behaviour, two implementations: the cases of cases.json run through hollenby-level
// export/import and through Tiled with the extension. Both must give the same bytes, say the
// same findings and refuse with the same words.

#include "testsupport.h"
#include "tiledrun.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTest>
#include <QXmlStreamWriter>

using namespace hollenby::testing;

namespace {

QJsonObject Cases()
{
    QFile file(QStringLiteral(CASES_FILE));
    file.open(QIODevice::ReadOnly);
    return QJsonDocument::fromJson(file.readAll()).object();
}

// A case's level text: one character per byte, pieces given as [text, n] repeated n times.
std::string LevelBytes(const QJsonValue& text)
{
    const QJsonArray pieces = text.isArray() ? text.toArray() : QJsonArray{text};
    std::string bytes;
    for (const QJsonValue piece : pieces) {
        const QJsonArray repeat = piece.toArray({piece, 1});
        const QByteArray latin1 = repeat[0].toString().toLatin1();
        for (int i = 0; i < repeat[1].toInt(); ++i)
            bytes.append(latin1.constData(), std::size_t(latin1.size()));
    }
    return bytes;
}

void WriteAttributes(QXmlStreamWriter& xml,
                     std::initializer_list<std::pair<QString, QString>> attributes)
{
    for (const auto& [name, value] : attributes)
        xml.writeAttribute(name, value);
}

void WriteRows(QXmlStreamWriter& xml, const QJsonArray& rows)
{
    QStringList lines;
    for (const QJsonValue row : rows)
        lines << row.toString();
    xml.writeStartElement("data");
    xml.writeAttribute("encoding", "csv");
    xml.writeCharacters(lines.join(",\n"));
    xml.writeEndElement();
}

void WriteLayers(QXmlStreamWriter& xml, const QJsonArray& layers, QSize size, int& id)
{
    for (const QJsonValue entry : layers) {
        const QJsonObject layer = entry.toObject();
        if (layer.contains("objects")) {
            xml.writeStartElement("objectgroup");
            xml.writeAttribute("id", QString::number(id++));
            xml.writeAttribute("name", layer["objects"].toString());
            xml.writeEmptyElement("object");
            xml.writeAttribute("id", "1");
            WriteAttributes(xml, {{"x", "40"}, {"y", "40"}, {"width", "40"}, {"height", "40"}});
        } else if (layer.contains("group")) {
            xml.writeStartElement("group");
            xml.writeAttribute("id", QString::number(id++));
            xml.writeAttribute("name", layer["group"].toString());
            WriteLayers(xml, layer["layers"].toArray(), size, id);
        } else {
            const QJsonArray rows = layer["rows"].toArray();
            xml.writeStartElement("layer");
            xml.writeAttribute("id", QString::number(id++));
            xml.writeAttribute("name", layer["name"].toString());
            const int width = rows.isEmpty() ? size.width() : rows[0].toString().count(',') + 1;
            xml.writeAttribute("width", QString::number(width));
            xml.writeAttribute("height",
                               QString::number(rows.isEmpty() ? size.height() : rows.size()));
            if (layer["hidden"].toBool())
                xml.writeAttribute("visible", "0");
            if (layer.contains("chunks")) {
                xml.writeStartElement("data");
                xml.writeAttribute("encoding", "csv");
                for (const QJsonValue chunk : layer["chunks"].toArray()) {
                    const QJsonArray chunkRows = chunk["rows"].toArray();
                    xml.writeStartElement("chunk");
                    xml.writeAttribute("x", QString::number(chunk["x"].toInt()));
                    xml.writeAttribute("y", QString::number(chunk["y"].toInt()));
                    const int width = chunkRows[0].toString().count(',') + 1;
                    xml.writeAttribute("width", QString::number(width));
                    xml.writeAttribute("height", QString::number(chunkRows.size()));
                    QStringList lines;
                    for (const QJsonValue row : chunkRows)
                        lines << row.toString();
                    xml.writeCharacters(lines.join(",\n"));
                    xml.writeEndElement();
                }
                xml.writeEndElement();
            } else {
                WriteRows(xml, rows);
            }
        }
        xml.writeEndElement();
    }
}

// A map case as a .tmx: one image-collection tileset "game" whose images are in _resources
// beside the map, then the layers in order.
QByteArray TmxOf(const QJsonObject& map)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.writeStartDocument();
    xml.writeStartElement("map");
    const QString firstRow = map["layers"].toArray().last()["rows"].toArray().first().toString();
    const QSize size(std::max(8, int(firstRow.count(',')) + 1), 2);
    WriteAttributes(xml, {{"version", "1.8"},
                          {"orientation", map["orientation"].toString("orthogonal")},
                          {"renderorder", "right-down"},
                          {"width", QString::number(size.width())},
                          {"height", QString::number(size.height())},
                          {"tilewidth", "40"},
                          {"tileheight", "40"},
                          {"infinite", map["infinite"].toBool() ? "1" : "0"}});
    const QJsonObject properties = map["properties"].toObject();
    if (!properties.isEmpty()) {
        xml.writeStartElement("properties");
        for (auto property = properties.begin(); property != properties.end(); ++property) {
            const bool text = property.value().isString();
            xml.writeEmptyElement("property");
            WriteAttributes(xml, {{"name", property.key()},
                                  {"type", text ? "string" : "int"},
                                  {"value", property.value().toVariant().toString()}});
        }
        xml.writeEndElement();
    }
    const QJsonArray tiles = map["tiles"].toArray();
    xml.writeStartElement("tileset");
    WriteAttributes(xml, {{"firstgid", "1"},
                          {"name", "game"},
                          {"tilewidth", "40"},
                          {"tileheight", "40"},
                          {"tilecount", QString::number(tiles.size())},
                          {"columns", "0"}});
    for (int id = 0; id < tiles.size(); ++id) {
        const QJsonObject tile = tiles[id].toObject();
        xml.writeStartElement("tile");
        xml.writeAttribute("id", QString::number(id));
        if (tile.contains("code")) {
            xml.writeStartElement("properties");
            xml.writeEmptyElement("property");
            xml.writeAttribute("name", "code");
            if (tile.contains("type"))
                xml.writeAttribute("type", tile["type"].toString());
            xml.writeAttribute("value", tile["code"].toVariant().toString());
            xml.writeEndElement();
        }
        xml.writeEmptyElement("image");
        WriteAttributes(xml, {{"width", "40"},
                              {"height", "40"},
                              {"source", "_resources/" + tile["image"].toString()}});
        xml.writeEndElement();
    }
    xml.writeEndElement();
    int id = 1;
    WriteLayers(xml, map["layers"].toArray(), size, id);
    xml.writeEndDocument();
    return bytes;
}

QStringList Lines(const QByteArray& err)
{
    return QString::fromUtf8(err).split('\n', Qt::SkipEmptyParts);
}

// The finding ids ("[turned-tiles]") a run printed, in order.
QStringList Ids(const QByteArray& err)
{
    QStringList ids;
    for (const auto& match :
         QRegularExpression(QStringLiteral("\\[([a-z-]+)\\]$"), QRegularExpression::MultilineOption)
             .globalMatch(QString::fromUtf8(err)))
        ids << match.captured(1);
    return ids;
}

// A map property of a .tmx as Tiled wrote it; empty when absent.
QString MapProperty(const QString& tmx, const QString& name)
{
    const QString text = QString::fromStdString(ReadBytes(tmx));
    const QRegularExpression property(QStringLiteral("<property name=\"%1\"[^>]*value=\"([^\"]*)\"")
                                          .arg(QRegularExpression::escape(name)));
    return property.match(text).captured(1);
}

QString Shown(const CliResult& result)
{
    return QStringLiteral("status %1: %2").arg(result.status).arg(QString::fromUtf8(result.err));
}

} // namespace

class FormatCasesTest : public QObject
{
    Q_OBJECT

private:
    TiledHome m_home;
    QJsonObject m_cases = Cases();

    void addRows(const QString& kind)
    {
        QTest::addColumn<QJsonObject>("kase");
        for (const QJsonValue kase : m_cases[kind].toArray())
            QTest::newRow(qPrintable(kase["name"].toString())) << kase.toObject();
    }

    void requireRefusedAlike(const QJsonObject& kase, const CliResult& cli, const CliResult& tiled,
                             const QStringList& outputs)
    {
        const QString words = kase["refused"].toString();
        QVERIFY2(cli.status == 2 && QString::fromUtf8(cli.err).contains(words),
                 qPrintable(Shown(cli)));
        QVERIFY2(tiled.status > 0 && QString::fromUtf8(tiled.err).contains(words),
                 qPrintable(Shown(tiled)));
        for (const QString& output : outputs)
            QVERIFY2(!QFile::exists(output), qPrintable(output + " was written"));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(!m_cases.isEmpty());
        const CliResult installed = m_home.cli({"tiled-extension", "install"});
        QVERIFY2(installed.status == 0, installed.err.constData());
    }

    void levelsTravelAlike_data() { addRows("levels"); }

    // Tiled reads the level as export does (the same findings, word for word, and a map import
    // reads back to the same level), and writes it as import does.
    void levelsTravelAlike()
    {
        QFETCH(QJsonObject, kase);
        QTemporaryDir dir;
        QVERIFY(CopySampleResources(dir.path()));
        const QString level = dir.filePath("level.lvl");
        const std::string text = LevelBytes(kase["text"]);
        QVERIFY(WriteBytes(level, text));
        const QString cliMap = dir.filePath("cli.tmx"), tiledMap = dir.filePath("tiled.tmx");
        const CliResult exported = m_home.cli({"export", level, "-o", cliMap});
        const CliResult read = m_home.tiled({"--export-map", "tmx", level, tiledMap});
        if (kase.contains("refused"))
            return requireRefusedAlike(kase, exported, read, {cliMap, tiledMap});
        QVERIFY2(exported.status == 0, exported.err.constData());
        QVERIFY2(read.status == 0, read.err.constData());
        QCOMPARE(ExtensionLines(read.err), Lines(exported.err));

        const std::string back = kase.contains("back") ? LevelBytes(kase["back"]) : text;
        const QString losses = kase["losses"].toString();
        QCOMPARE(MapProperty(tiledMap, "read-with-losses"), losses);
        for (const QString& map : {cliMap, tiledMap}) {
            const QString viaImport = map + ".import.lvl", viaTiled = map + ".tiled.lvl";
            QCOMPARE(m_home.cli({"import", map, "-o", viaImport}).status, 0);
            QCOMPARE(ReadBytes(viaImport), back);
            const CliResult written =
                m_home.tiled({"--export-map", "hollenby-level", map, viaTiled});
            QVERIFY2(written.status == 0, written.err.constData());
            QCOMPARE(ReadBytes(viaTiled), back);
        }

        // Saved over the level it was read from: refused when that would lose something.
        const CliResult overItself = m_home.tiled({"--export-map", "hollenby-level", level, level});
        if (losses.isEmpty()) {
            QVERIFY2(overItself.status == 0, overItself.err.constData());
            QCOMPARE(ReadBytes(level), back);
        } else {
            QVERIFY2(overItself.status > 0 && overItself.err.contains(losses.toUtf8()),
                     qPrintable(Shown(overItself)));
            QCOMPARE(ReadBytes(level), text);
        }
    }

    void mapsSaveAlike_data() { addRows("maps"); }

    // Tiled saves a map as a level byte for byte as import writes it, with the same warnings,
    // and refuses what import refuses with the same words.
    void mapsSaveAlike()
    {
        QFETCH(QJsonObject, kase);
        QTemporaryDir dir;
        QVERIFY(CopySampleResources(dir.path()));
        const QString map = dir.filePath("map.tmx");
        QVERIFY(WriteBytes(map, TmxOf(kase).toStdString()));
        const QString cliLevel = dir.filePath("cli.lvl"), tiledLevel = dir.filePath("tiled.lvl");
        const CliResult imported = m_home.cli({"import", map, "-o", cliLevel});
        const CliResult saved = m_home.tiled({"--export-map", "hollenby-level", map, tiledLevel});
        if (kase.contains("refused"))
            return requireRefusedAlike(kase, imported, saved, {cliLevel, tiledLevel});
        QVERIFY2(imported.status == 0, imported.err.constData());
        QVERIFY2(saved.status == 0, saved.err.constData());
        QCOMPARE(ReadBytes(tiledLevel), ReadBytes(cliLevel));
        QCOMPARE(ReadBytes(tiledLevel), LevelBytes(kase["back"]));
        QStringList warned;
        for (const QJsonValue id : kase["warned"].toArray())
            warned << id.toString();
        QCOMPARE(Ids(imported.err), warned);
        QCOMPARE(Ids(saved.err), warned);
    }
};

QTEST_GUILESS_MAIN(FormatCasesTest)
#include "formatcases_test.moc"
