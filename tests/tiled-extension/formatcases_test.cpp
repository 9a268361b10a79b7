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

// A value as an XML attribute that reads back exactly, line breaks included.
QString Attribute(const QString& value)
{
    return value.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("&#10;"));
}

// The layers of a map case, in order; `widest` grows to the widest tile layer.
QString Layers(const QJsonArray& layers, int& widest)
{
    QString xml;
    int id = 10;
    for (const QJsonValue entry : layers) {
        const QStringList lines = entry["rows"].toVariant().toStringList();
        if (lines.isEmpty()) {
            xml += entry["xml"].toString();
            continue;
        }
        const int width = int(lines[0].count(',')) + 1;
        widest = std::max(widest, width);
        xml +=
            QStringLiteral(
                R"x(<layer id="%1" name="%2" width="%3" height="%4"><data encoding="csv">%5</data></layer>)x")
                .arg(id++)
                .arg(entry["name"].toString())
                .arg(width)
                .arg(lines.size())
                .arg(lines.join(",\n"));
    }
    return xml;
}

// A map case as a .tmx: one image-collection tileset "game" whose images are in _resources
// beside the map, then the layers in order.
QByteArray TmxOf(const QJsonObject& map)
{
    QString properties;
    const QJsonObject given = map["properties"].toObject();
    for (auto property = given.begin(); property != given.end(); ++property)
        properties += QStringLiteral(R"x(<property name="%1" type="%2" value="%3"/>)x")
                          .arg(property.key(), property.value().isString() ? "string" : "int",
                               property.value().toVariant().toString());
    QString tiles;
    int id = 0;
    for (const QJsonValue entry : map["tiles"].toArray()) {
        const QJsonObject tile = entry.toObject();
        const QString code =
            !tile.contains("code")
                ? QString()
                : QStringLiteral(
                      R"x(<properties><property name="code" type="%1" value="%2"/></properties>)x")
                      .arg(tile["type"].toString("string"),
                           Attribute(tile["code"].toVariant().toString()));
        tiles +=
            QStringLiteral(
                R"x(<tile id="%1">%2<image width="40" height="40" source="_resources/%3"/></tile>)x")
                .arg(id++)
                .arg(code, tile["image"].toString());
    }
    int width = 8;
    const QString layers = Layers(map["layers"].toArray(), width);
    return QStringLiteral(R"x(<?xml version="1.0" encoding="UTF-8"?>
<map version="1.8" orientation="%1" renderorder="right-down" width="%2" height="2" tilewidth="40" tileheight="40" infinite="%3">
<properties>%4</properties>
<tileset firstgid="1" name="game" tilewidth="40" tileheight="40" tilecount="%5" columns="0">%6</tileset>
%7
</map>
)x")
        .arg(map["orientation"].toString("orthogonal"))
        .arg(width)
        .arg(map["infinite"].toBool() ? 1 : 0)
        .arg(properties)
        .arg(id)
        .arg(tiles, layers)
        .toUtf8();
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
                 cli.err.constData());
        QVERIFY2(tiled.status > 0 && QString::fromUtf8(tiled.err).contains(words),
                 tiled.err.constData());
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
        for (const QString& map : {cliMap, tiledMap}) {
            const QString viaImport = map + ".import.lvl", viaTiled = map + ".tiled.lvl";
            QCOMPARE(m_home.cli({"import", map, "-o", viaImport}).status, 0);
            QCOMPARE(ReadBytes(viaImport), back);
            const CliResult written =
                m_home.tiled({"--export-map", "hollenby-level", map, viaTiled});
            QVERIFY2(written.status == 0, written.err.constData());
            QCOMPARE(ReadBytes(viaTiled), back);
        }

        // Saved over the level it was read from: refused, naming the losses the map records,
        // when that would lose something.
        const CliResult overItself = m_home.tiled({"--export-map", "hollenby-level", level, level});
        if (losses.isEmpty()) {
            QVERIFY2(overItself.status == 0, overItself.err.constData());
            QCOMPARE(ReadBytes(level), back);
        } else {
            QVERIFY2(overItself.status > 0 && overItself.err.contains(losses.toUtf8()),
                     overItself.err.constData());
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
        const QStringList warned = kase["warned"].toVariant().toStringList();
        QCOMPARE(Ids(imported.err), warned);
        QCOMPARE(Ids(saved.err), warned);
    }
};

QTEST_GUILESS_MAIN(FormatCasesTest)
#include "formatcases_test.moc"
