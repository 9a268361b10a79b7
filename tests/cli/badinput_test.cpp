// Every kind of bad input: one line on stderr naming what is wrong, exit status 2, and nothing
// left behind in the output folder.

#include "clirun.h"
#include "testsupport.h"

#include <QDir>
#include <QTest>

#include <unistd.h>

using namespace hollenby;
using testing::RunCli;

class BadInputTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase()
    {
        QVERIFY(testing::WriteTileSet(path("_resources")));
        QVERIFY(testing::WriteBytes(path("level.lvl"), "01,02\r\n07"));
        QVERIFY(testing::WriteBytes(path("empty.lvl"), ""));
        QVERIFY(testing::WriteBytes(path("text.lvl"), "A line of text, not a level"));
        QVERIFY(testing::WriteBytes(path("picture.lvl"), std::string("\x89PNG\r\n\x1a\n\0\0", 10)));
        QVERIFY(QDir().mkpath(path("folder.lvl")));
        QVERIFY(QDir().mkpath(path("out")));
        QVERIFY(testing::WriteTileSet(path("cut")));
        QVERIFY(QFile::resize(path("cut/07.bmp"), 1000));
        QVERIFY(testing::WriteTileSet(path("dirs")));
        QVERIFY(QFile::remove(path("dirs/01.bmp")) && QDir().mkpath(path("dirs/01.bmp")));
        // Root writes anywhere a mode allows; the system's own folders refuse it too.
        QVERIFY(QDir().mkpath(path("locked")));
        QVERIFY(QFile::setPermissions(path("locked"), QFile::ReadOwner | QFile::ExeOwner));
    }

    void refusedInOneLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        const QString out = path("out/out.png");
        const QString level = path("level.lvl");
        const auto render = [&](const QStringList& more) {
            return QStringList{QStringLiteral("render")} + more;
        };
        QTest::newRow("level is a folder")
            << render({path("folder.lvl"), "-o", out}) << "folder.lvl: is a folder";
        QTest::newRow("binary file") << render({path("picture.lvl"), "-o", out})
                                     << "picture.lvl: not a level but a binary file";
        QTest::newRow("missing level")
            << render({path("none.lvl"), "-o", out}) << "none.lvl: no such file or folder";
        QTest::newRow("0-byte level")
            << render({path("empty.lvl"), "-o", out}) << "empty.lvl: no rows to draw";
        QTest::newRow("no tile code in it")
            << render({path("text.lvl"), "-o", out}) << "text.lvl: no tiles to draw";
        QTest::newRow("missing resources folder")
            << render({level, "-r", path("nowhere"), "-o", out})
            << "nowhere: no such resources folder";
        QTest::newRow("resources folder is a file")
            << render({level, "-r", level, "-o", out}) << "level.lvl: not a folder";
        QTest::newRow("truncated bitmap") << render({level, "-r", path("cut"), "-o", out})
                                          << "07.bmp: truncated: 1000 of the 4854 bytes";
        QTest::newRow("a folder named 01.bmp")
            << render({level, "-r", path("dirs"), "-o", out}) << "01.bmp: is a folder";
        QTest::newRow("unwritable output folder")
            << render({level, "-o",
                       (::geteuid() == 0 ? QStringLiteral("/proc/self") : path("locked")) +
                           QStringLiteral("/out.png")})
            << "out.png: permission denied";
        QTest::newRow("output is the level")
            << render({level, "-o", level}) << "level.lvl: is the same file as";
        QTest::newRow("output is a folder")
            << render({level, "-o", path("out")}) << "out: is a folder";
        QTest::newRow("scale 0") << render({level, "--scale", "0"}) << "--scale \"0\": must be";
        QTest::newRow("rows 9:3") << render({level, "--rows", "9:3"})
                                  << "--rows \"9:3\": the first row comes after the last";
        QTest::newRow("rows past the end") << render({level, "--rows", "3:4", "-o", out})
                                           << "--rows starts at row 3, but the level has 2 rows";
        QTest::newRow("unknown option")
            << render({level, "--colour", "red"}) << "render: Unknown option 'colour'.";
        QTest::newRow("thumbnail size 0")
            << QStringList{"thumbnail", "-s", "0", level, out} << "-s \"0\": must be";
        QTest::newRow("info of a folder")
            << QStringList{"info", path("folder.lvl")} << "folder.lvl: is a folder";
    }

    void refusedInOneLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const testing::CliResult result = RunCli(arguments);
        QCOMPARE(result.status, 2);
        const QString err = QString::fromUtf8(result.err);
        QVERIFY2(err.startsWith(QLatin1String("hollenby-level: ")) && err.contains(message) &&
                     err.count(QLatin1Char('\n')) == 1 && err.endsWith(QLatin1Char('\n')),
                 qPrintable(err));
        QVERIFY(result.out.isEmpty());
        QCOMPARE(QDir(path("out")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList());
    }
};

QTEST_GUILESS_MAIN(BadInputTest)
#include "badinput_test.moc"
