// A level taken into a Tiled map and back: every format gives the same bytes, and what a map
// cannot hold is named by line and column.

#include "clirun.h"
#include "testsupport.h"
#include "tiledtest.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace hollenby::testing;

class RoundTripTest : public QObject
{
    Q_OBJECT

private slots:
    void levelComesBackByteForByte_data()
    {
        QTest::addColumn<QString>("level");
        QTest::addColumn<QString>("map");
        QTest::addColumn<QString>("format");
        const QStringList levels = {"short.lvl", "long.lvl", "all-codes.lvl", "empty.lvl"};
        for (const QString& level : levels) {
            for (const QString map : {"map.tmx", "map.tmj", "map.json"}) {
                for (const QString format :
                     {"csv", "base64", "base64-zlib", "base64-gzip", "base64-zstd"}) {
                    if (map == "map.json" && format != "base64-zstd")
                        continue;
                    QTest::addRow("%s %s %s", qPrintable(level), qPrintable(map),
                                  qPrintable(format))
                        << level << map << format;
                }
            }
        }
    }

    void levelComesBackByteForByte()
    {
        QFETCH(QString, level);
        QFETCH(QString, map);
        QFETCH(QString, format);
        QTemporaryDir dir;
        QString path = kSamples + "/" + level;
        if (!QFile::exists(path)) {
            path = dir.filePath(level);
            QVERIFY(WriteBytes(path, level == "empty.lvl" ? std::string() : AllCodesLevel()));
        }
        const QString mapPath = dir.filePath(map);
        QCOMPARE(Cli({"export", path, "-r", kSamples + "/_resources", "-o", mapPath,
                      "--layer-format", format}),
                 0);
        QCOMPARE(Cli({"import", mapPath, "-o", dir.filePath("back.lvl")}), 0);
        QCOMPARE(ReadBytes(dir.filePath("back.lvl")), ReadBytes(path));
    }

    // The sample of odd corners: each line or cell that cannot travel is named where it stands,
    // and what comes back is the level as the play window draws it.
    void oddCornersAreNamedAndDrawnRowsComeBack()
    {
        QTemporaryDir dir;
        const CliResult exported =
            RunCli({"export", kSamples + "/corners.lvl", "-o", dir.filePath("corners.tmx")});
        QCOMPARE(exported.status, 0);
        QStringList found;
        for (const QByteArray& line : exported.err.trimmed().split('\n')) {
            const QList<QByteArray> parts = line.split(':');
            QVERIFY2(parts.size() >= 5, line.constData());
            found << parts[1] + ":" + parts[2] + line.mid(line.lastIndexOf('['));
        }
        QCOMPARE(found,
                 QStringList({"4:1[not-a-row]", "5:1[not-a-row]", "6:25[extra-cells]",
                              "7:4[unknown-code]", "7:10[unknown-code]", "7:13[unknown-code]",
                              "7:15[unknown-code]", "7:19[unknown-code]", "8:1[not-a-row]",
                              "9:16[unknown-code]", "9:16[short-row]", "10:9[short-row]",
                              "12:1[not-a-row]", "13:25[extra-cells]", "18:1[not-a-row]"}));

        QCOMPARE(Cli({"import", dir.filePath("corners.tmx"), "-o", dir.filePath("back.lvl"),
                      "--blank", "--"}),
                 0);
        QCOMPARE(ReadBytes(dir.filePath("back.lvl")),
                 std::string("02,01,10,01,01,01,02,02\r\n19,19,19,19,19,19,19,19\r\n"
                             "01,01,10,01,01,01,01,01\r\n01,01,10,01,01,01,01,01\r\n"
                             "01,--,10,--,--,--,--,02\r\n01,01,10,01,01,--,--,--\r\n"
                             "01,01,10,--,--,--,--,--\r\n01,01,10,01,98,99,01,01\r\n"
                             "01,01,10,01,01,01,01,01\r\n01,01,10,01,01,01,01,01\r\n"
                             "03,03,10,03,03,03,17,03\r\n19,19,19,19,19,19,19,19\r\n"
                             "03,03,10,03,03,03,03,03"));
    }

    void exportRefusesWithOneLineAndNoMap_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        const QString level = kSamples + "/short.lvl";
        QTest::newRow("map extension unknown")
            << QStringList{level, "-o", "@/map.txt"}
            << "@/map.txt: export writes a map; give a name ending in .tmx, .tmj or .json";
        QTest::newRow("layer format unknown")
            << QStringList{level, "-o", "@/map.tmx", "--layer-format", "lz4"}
            << "\"lz4\" is not csv";
        QTest::newRow("no resources folder")
            << QStringList{level, "-o", "@/map.tmx", "-r", "@/none"} << "@/none: no such folder";
        QTest::newRow("no level") << QStringList{"@/none.lvl", "-o", "@/map.tmx"}
                                  << "@/none.lvl: no such";
        QTest::newRow("output folder missing")
            << QStringList{level, "-o", "@/none/map.tmj"} << "@/none/map.tmj: no such";
        QTest::newRow("no output") << QStringList{level} << "export: give the map to write with -o";
    }

    void exportRefusesWithOneLineAndNoMap()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        QTemporaryDir dir;
        arguments.replaceInStrings("@", dir.path());
        arguments.prepend("export");
        const CliResult result = RunCli(arguments);
        QCOMPARE(result.status, 2);
        QVERIFY2(result.err.count('\n') == 1 && result.err.startsWith("hollenby-level: ") &&
                     result.err.contains(message.replace("@", dir.path()).toUtf8()),
                 result.err.constData());
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList());
    }
};

QTEST_GUILESS_MAIN(RoundTripTest)
#include "roundtrip_test.moc"
