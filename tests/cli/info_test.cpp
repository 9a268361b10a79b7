// info: the estimate and size text must be the editor's own, whatever the length and the user's
// decimal separator; and the counts must be of what the editor draws.

#include "clirun.h"
#include "levelrender.h"
#include "selection.h"
#include "testsupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QTest>

using namespace hollenby;
using testing::RunCli;

namespace {

QJsonObject Info(const QStringList& arguments, const QProcessEnvironment& environment)
{
    const testing::CliResult result = RunCli(
        QStringList{QStringLiteral("info"), QStringLiteral("--format"), QStringLiteral("json")} +
            arguments,
        120000, environment);
    return QJsonDocument::fromJson(result.out).object();
}

} // namespace

class InfoTest : public QObject
{
    Q_OBJECT

private slots:
    void estimateAndSizeAreTheEditors_data()
    {
        QTest::addColumn<int>("lines");
        for (const int lines : {11, 12, 1000, 32768})
            QTest::addRow("%d lines", lines) << lines;
    }

    void estimateAndSizeAreTheEditors()
    {
        QFETCH(int, lines);
        // A decimal comma on both sides, so that a size text built without the locale shows.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("de_DE.UTF-8"));

        testing::MainWindowFixture f;
        const QString level = f.path("level.lvl");
        QVERIFY(testing::WriteBytes(level,
                                    testing::RepeatLines("01,02,03,04,05,06,07,08", lines, false)));
        f.c().txtResLocation->setText(f.resources());
        f.main().selection().fnCheckLevelFile(level);

        const QJsonObject info = Info({level}, environment);
        QCOMPARE(QStringLiteral("Step 1 - File (%1)")
                     .arg(info.value(QStringLiteral("sizeText")).toString()),
                 f.c().fmeStep1->Caption());
        QCOMPARE(QStringLiteral("est play (sec's): %1 at max speed")
                     .arg(info.value(QStringLiteral("estimatedSeconds")).toInt()),
                 f.c().lblEstPlay->Caption());
    }

    void countsWhatTheEditorDraws()
    {
        QTemporaryDir dir;
        QVERIFY(testing::WriteTileSet(dir.filePath(QStringLiteral("_resources"))));
        QFile::remove(dir.filePath(QStringLiteral("_resources/07.bmp")));
        const QString level = dir.filePath(QStringLiteral("level.lvl"));
        // Blank and ","-led lines take no place; the ninth cell is not drawn; "00" and empty
        // cells are blank slots written on purpose, not unknown.
        QVERIFY(testing::WriteBytes(level,
                                    "01,zz,07,00,,\r\n\r\n,01\r\n01,01,01,01,01,01,01,01,02\r\n"));

        const QJsonObject info = Info({level}, QProcessEnvironment::systemEnvironment());
        QCOMPARE(info.value(QStringLiteral("lines")).toInt(), 5);
        QCOMPARE(info.value(QStringLiteral("rows")).toInt(), 2);
        QCOMPARE(info.value(QStringLiteral("cells")).toInt(), 14);
        QCOMPARE(info.value(QStringLiteral("unknownCells")).toInt(), 1);
        QCOMPARE(info.value(QStringLiteral("tiles")).toObject(),
                 QJsonObject({{QStringLiteral("01"), 9}, {QStringLiteral("07"), 1}}));
        QCOMPARE(info.value(QStringLiteral("missingBitmaps")).toArray(),
                 QJsonArray({QStringLiteral("07.bmp")}));
    }

    // One block or object per level; one that cannot be read stops none of the others.
    void severalLevels()
    {
        QTemporaryDir dir;
        for (const char* name : {"a.lvl", "b.lvl"})
            QVERIFY(testing::WriteBytes(dir.filePath(name), "01,02\r\n"));
        const QStringList levels = {dir.filePath("a.lvl"), dir.filePath("none.lvl"),
                                    dir.filePath("b.lvl")};
        const testing::CliResult json = RunCli(QStringList{"info", "--format", "json"} + levels);
        QCOMPARE(json.status, 2);
        QCOMPARE(json.err.count('\n'), 1);
        const QJsonArray infos = QJsonDocument::fromJson(json.out).array();
        QCOMPARE(infos.size(), 2);
        QCOMPARE(infos.at(1)["file"].toString(), levels.at(2));
        const testing::CliResult text = RunCli(QStringList{"info"} + levels);
        QCOMPARE(text.status, 2);
        QCOMPARE(text.out.count("\nfile:"), 1);
        QVERIFY(text.out.contains("missing bitmaps: 01.bmp, 02.bmp\n\nfile:            " +
                                  levels.at(2).toUtf8()));
    }
};

QTEST_MAIN(InfoTest)
#include "info_test.moc"
