// Tiled itself is the judge: Debian's tiled package draws an exported map as the level is
// rendered, rewrites it in its other format without losing a cell, and writes maps this program
// never made that import still reads.

#include "clirun.h"
#include "testsupport.h"
#include "tiledtest.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace hollenby::testing;

namespace {

const QString kResources = kSamples + "/_resources";

int RunTiled(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return -1;
    return process.exitCode();
}

QString LevelFile(QTemporaryDir& dir, const QString& name)
{
    if (name != "all-codes.lvl")
        return kSamples + "/" + name;
    WriteBytes(dir.filePath(name), AllCodesLevel());
    return dir.filePath(name);
}

// Transparent pixels are equal whatever colour they carry.
QString FirstDifference(QImage a, QImage b)
{
    if (a.size() != b.size())
        return QStringLiteral("sizes %1x%2 and %3x%4")
            .arg(a.width())
            .arg(a.height())
            .arg(b.width())
            .arg(b.height());
    a = a.convertToFormat(QImage::Format_ARGB32);
    b = b.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            if (p != q && (qAlpha(p) != 0 || qAlpha(q) != 0))
                return QStringLiteral("pixel %1,%2: %3 and %4")
                    .arg(x)
                    .arg(y)
                    .arg(p, 8, 16)
                    .arg(q, 8, 16);
        }
    }
    return {};
}

} // namespace

class TiledAgreementTest : public QObject
{
    Q_OBJECT

private slots:
    void tmxrasterizerDrawsTheLevelAsRendered_data()
    {
        QTest::addColumn<QString>("level");
        for (const char* level : {"short.lvl", "corners.lvl", "all-codes.lvl"})
            QTest::newRow(level) << level;
    }

    void tmxrasterizerDrawsTheLevelAsRendered()
    {
        QFETCH(QString, level);
        QTemporaryDir dir;
        const QString path = LevelFile(dir, level);
        QCOMPARE(Cli({"export", path, "-r", kResources, "-o", dir.filePath("map.tmx")}), 0);
        QCOMPARE(RunTiled("tmxrasterizer", {dir.filePath("map.tmx"), dir.filePath("tiled.png")}),
                 0);
        QCOMPARE(Cli({"render", path, "-r", kResources, "-o", dir.filePath("render.png")}), 0);
        QCOMPARE(
            FirstDifference(QImage(dir.filePath("tiled.png")), QImage(dir.filePath("render.png"))),
            QString());
    }

    void tiledRewritesTheMapWithoutLosingACell_data()
    {
        QTest::addColumn<QString>("level");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("from");
        for (const QString from : {"tmx", "tmj"}) {
            for (const QString format :
                 {"csv", "base64", "base64-zlib", "base64-gzip", "base64-zstd"})
                QTest::addRow("all codes %s from %s", qPrintable(format), qPrintable(from))
                    << "all-codes.lvl" << format << from;
        }
        QTest::newRow("long level from tmx") << "long.lvl"
                                             << "csv"
                                             << "tmx";
    }

    void tiledRewritesTheMapWithoutLosingACell()
    {
        QFETCH(QString, level);
        QFETCH(QString, format);
        QFETCH(QString, from);
        QTemporaryDir dir;
        const QString path = LevelFile(dir, level);
        const QString to = from == "tmx" ? "tmj" : "tmx";
        QCOMPARE(Cli({"export", path, "-r", kResources, "-o", dir.filePath("map." + from),
                      "--layer-format", format}),
                 0);
        QCOMPARE(RunTiled("tiled", {"--export-map", to == "tmx" ? "tmx" : "json",
                                    dir.filePath("map." + from), dir.filePath("tiled." + to)}),
                 0);
        QCOMPARE(Cli({"import", dir.filePath("tiled." + to), "-o", dir.filePath("back.lvl")}), 0);
        QCOMPARE(ReadBytes(dir.filePath("back.lvl")), ReadBytes(path));
    }

    // Written by hand as Tiled's own files look, then rewritten by Tiled in both formats.
    void mapsTiledWroteImport_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("expected"); // the level, or a piece of the error line
        const QString atlas =
            R"(<tileset firstgid="1" name="atlas" tilewidth="40" tileheight="40" tilecount="3" columns="3">
  <image source="atlas.png" width="120" height="40"/>
  <tile id="0"><properties><property name="code" value="03"/></properties></tile>
  <tile id="1"><properties><property name="code" value="98"/></properties></tile>
 </tileset>)";
        const QString layer =
            R"(<layer id="%1" name="%2" width="8" height="2" %3><data encoding="csv">
%4
</data></layer>)";
        QTest::newRow("atlas tileset, object layer and hidden layer beside the level")
            << atlas +
                   layer.arg(1).arg("notes", "visible=\"0\"", "2,2,2,2,2,2,2,2,\n2,2,2,2,2,2,2,2") +
                   R"(<objectgroup id="2" name="spawns"><object id="1" x="40" y="40" width="40" height="40"/></objectgroup>)" +
                   layer.arg(3).arg("level", "", "1,2,0,0,0,0,2,1,\n2,2,2,2,2,2,2,2")
            << 0 << "03,98,00,00,00,00,98,03\r\n98,98,98,98,98,98,98,98";
        QTest::newRow("object layer and hidden layer, no level layer")
            << atlas +
                   layer.arg(1).arg("notes", "visible=\"0\"", "2,2,2,2,2,2,2,2,\n2,2,2,2,2,2,2,2") +
                   R"(<objectgroup id="2" name="spawns"/>)" +
                   layer.arg(3).arg("ground", "", "1,1,1,1,1,1,1,1,\n0,0,0,0,0,0,0,0")
            << 2 << "2 tile layers and none named \"level\": \"notes\" (hidden), \"ground\"";
        QTest::newRow("infinite map in chunks")
            << atlas +
                   R"(<layer id="1" name="level" width="8" height="2"><data encoding="base64" compression="zlib">
<chunk x="0" y="-16" width="16" height="16">eJxjYBgFo2AUDFXAhEeOkQj9AASkAAQ=</chunk>
<chunk x="0" y="0" width="16" height="16">eJxjZKAdYKKh2aNgFIwCygEAD0gABA==</chunk></data></layer>)"
            << 0 << "98,00,00,00,00,00,00,03\r\n03,00,00,00,00,00,00,00\r\n00,00,00,00,00,00,00,98";
    }

    void mapsTiledWroteImport()
    {
        QFETCH(QString, body);
        QFETCH(int, status);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        QImage atlas(120, 40, QImage::Format_RGB32);
        atlas.fill(Qt::darkGreen);
        QVERIFY(atlas.save(dir.filePath("atlas.png")));
        const bool infinite = body.contains("<chunk");
        QVERIFY(WriteBytes(dir.filePath("hand.tmx"),
                           QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<map version="1.8" tiledversion="1.8.2" orientation="orthogonal" renderorder="right-down" width="8" height="2" tilewidth="40" tileheight="40" infinite="%1" nextlayerid="4" nextobjectid="2">
 %2
</map>
)")
                               .arg(infinite ? 1 : 0)
                               .arg(body)
                               .toStdString()));
        for (const QString format : {"json", "tmx"}) {
            const QString written = dir.filePath("tiled." + format);
            QCOMPARE(RunTiled("tiled", {"--export-map", format, dir.filePath("hand.tmx"), written}),
                     0);
            const QString level = dir.filePath(format + ".lvl");
            const CliResult result = RunCli({"import", written, "-o", level});
            QCOMPARE(result.status, status);
            if (status == 0)
                QCOMPARE(QString::fromStdString(ReadBytes(level)), expected);
            else
                QVERIFY2(result.err.contains(expected.toUtf8()) && !QFile::exists(level),
                         result.err.constData());
        }
    }
};

QTEST_GUILESS_MAIN(TiledAgreementTest)
#include "tiledagreement_test.moc"
