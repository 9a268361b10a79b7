// A level taken into a Tiled map and back: every format gives the same bytes, and what a map
// cannot hold is named by line and column.

#include "clirun.h"
#include "testsupport.h"
#include "tiledtest.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

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
        const QStringList levels = {"short.lvl", "long.lvl", "all-codes.lvl"};
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
            QVERIFY(WriteBytes(path, AllCodesLevel()));
        }
        const QString mapPath = dir.filePath(map);
        QCOMPARE(Cli({"export", path, "-r", kSamples + "/_resources", "-o", mapPath,
                      "--layer-format", format}),
                 0);
        QCOMPARE(Cli({"import", mapPath, "-o", dir.filePath("back.lvl")}), 0);
        QCOMPARE(ReadBytes(dir.filePath("back.lvl")), ReadBytes(path));
    }

    // However a level ends, the map records it and import writes it back; export says nothing
    // about it, nor about the blank slots written on purpose, which come back as they were.
    void endingsComeBackUnremarked_data()
    {
        QTest::addColumn<std::string>("level");
        QTest::addColumn<QString>("map");
        const std::string rows = AllCodesLevel() + "\r\n00,00,01,00,00,00,00,00";
        for (const QString map : {"map.tmx", "map.tmj"}) {
            for (int endings = 0; endings <= 3; ++endings) {
                std::string level = rows;
                for (int i = 0; i < endings; ++i)
                    level += "\r\n";
                QTest::addRow("%d CR LF at the end, %s", endings, qPrintable(map)) << level << map;
            }
        }
    }

    void endingsComeBackUnremarked()
    {
        QFETCH(std::string, level);
        QFETCH(QString, map);
        QTemporaryDir dir;
        QVERIFY(WriteBytes(dir.filePath("level.lvl"), level));
        const CliResult exported = RunCli({"export", dir.filePath("level.lvl"), "-r",
                                           kSamples + "/_resources", "-o", dir.filePath(map)});
        QCOMPARE(exported.status, 0);
        QCOMPARE(exported.err, QByteArray());
        QCOMPARE(Cli({"import", dir.filePath(map), "-o", dir.filePath("back.lvl")}), 0);
        QCOMPARE(ReadBytes(dir.filePath("back.lvl")), level);
        if (map.endsWith(".tmj")) {
            // As Tiled writes a layer: one map row per line.
            const std::string json = ReadBytes(dir.filePath(map));
            const std::size_t data = json.find("\"data\": [");
            const std::string cells = json.substr(data, json.find(']', data) - data);
            QCOMPARE(std::count(cells.begin(), cells.end(), '\n'), 3);
        }
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
        // With check's ids, and neither the blank slots written on purpose ("00" at 7:4, the empty
        // cell at 9:16) nor the final CR LF, which the map records.
        QCOMPARE(found, QStringList({"4:1[blank-line]", "6:25[long-row]", "7:10[unknown-code]",
                                     "7:13[unknown-code]", "7:17[whitespace]", "7:19[whitespace]",
                                     "8:1[not-a-row]", "9:16[short-row]", "10:9[short-row]",
                                     "12:1[blank-line]", "13:25[long-row]"}));

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
                             "03,03,10,03,03,03,03,03\r\n"));
    }

    // A cell's line feed or escape sequence is shown, not sent: one finding, one line.
    void exportFindingsStayOnOneLine()
    {
        QTemporaryDir dir;
        QVERIFY(WriteBytes(dir.filePath("level.lvl"), "01,0\n1\r\n02,\x1b[2J\x1b]0;owned\x07"));
        const CliResult result = RunCli({"export", dir.filePath("level.lvl"), "-r",
                                         kSamples + "/_resources", "-o", dir.filePath("map.tmx")});
        QCOMPARE(result.status, 0);
        const QList<QByteArray> lines = result.err.trimmed().split('\n');
        QCOMPARE(lines.size(), 4); // the two cells and two short rows
        QVERIFY2(lines[0].contains("\"0\\x0a1\" is not a tile code") &&
                     lines[2].contains("\"\\x1b[2J\\x1b]0;owned\\x07\" is not a tile code") &&
                     !result.err.contains('\x1b') && !result.err.contains('\x07'),
                 result.err.constData());
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
        // What export writes, import reads: no more cells than it takes, no larger a file.
        QTest::newRow("more cells than import takes")
            << QStringList{"@/rows-524289.lvl", "-o", "@/map.tmx"}
            << "rows-524289.lvl: 524289 rows make a map of 4194312 cells; import reads at most "
               "4194304";
        QTest::newRow("a larger file than import reads")
            << QStringList{"@/rows-524288.lvl",
                           "-r",
                           kSamples + "/_resources",
                           "-o",
                           "@/map.tmx",
                           "--layer-format",
                           "base64"}
            << "map.tmx: the map would be 21.3 MiB, and import reads at most 16 MiB";
    }

    void exportRefusesWithOneLineAndNoMap()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        QTemporaryDir dir;
        arguments.replaceInStrings("@", dir.path());
        for (const int rows : {524288, 524289}) {
            const QString name = QStringLiteral("rows-%1.lvl").arg(rows);
            if (arguments.first().endsWith(name))
                QVERIFY(WriteBytes(arguments.first(), RepeatLines("01", rows, false)));
        }
        const QStringList before =
            QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
        arguments.prepend("export");
        const CliResult result = RunCli(arguments);
        QCOMPARE(result.status, 2);
        QVERIFY2(result.err.count('\n') == 1 && result.err.startsWith("hollenby-level: ") &&
                     result.err.contains(message.replace("@", dir.path()).toUtf8()),
                 result.err.constData());
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), before);
    }

    // The largest map export writes is one import reads.
    void largestMapComesBack()
    {
        QTemporaryDir dir;
        const std::string level = RepeatLines("01,02,03,04,05,06,07,08", 524288, true);
        QVERIFY(WriteBytes(dir.filePath("level.lvl"), level));
        QCOMPARE(Cli({"export", dir.filePath("level.lvl"), "-r", kSamples + "/_resources", "-o",
                      dir.filePath("map.tmj")}),
                 0);
        QCOMPARE(Cli({"import", dir.filePath("map.tmj"), "-o", dir.filePath("back.lvl")}), 0);
        QVERIFY(ReadBytes(dir.filePath("back.lvl")) == level);
    }
};

QTEST_GUILESS_MAIN(RoundTripTest)
#include "roundtrip_test.moc"
