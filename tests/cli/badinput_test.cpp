// Every kind of bad input: one line on stderr naming what is wrong, exit status 2, and nothing
// changed in the folder, neither an output nor a temporary file left behind, nor an input
// written over.

#include "clirun.h"
#include "testsupport.h"

#include <QDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace hollenby;
using testing::RunCli;

namespace {

// A map of the one row "01,02,...", its tileset in `tileset` when given.
std::string Map(const std::string& tileset = {})
{
    const std::string tiles =
        tileset.empty()
            ? R"(<tileset firstgid="1" name="t" tilecount="1" columns="0"><tile id="0"><properties><property name="code" value="01"/></properties></tile></tileset>)"
            : R"(<tileset firstgid="1" source=")" + tileset + R"("/>)";
    return R"(<?xml version="1.0"?><map orientation="orthogonal" width="1" height="1" tilewidth="40" tileheight="40">
)" + tiles +
           R"(<layer name="level" width="1" height="1"><data encoding="csv">1</data></layer></map>)";
}

} // namespace

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
        QVERIFY(QDir().mkpath(path("folder.tmx")));
        QVERIFY(QDir().mkpath(path("out")));
        QVERIFY(QDir().mkpath(path("sub")));
        QVERIFY(::mkfifo(QFile::encodeName(path("fifo.lvl")).constData(), 0644) == 0);
        QVERIFY(::mkfifo(QFile::encodeName(path("fifo.tsx")).constData(), 0644) == 0);
        // A level that happens to have a map's name, and other names for it.
        QVERIFY(testing::WriteBytes(path("level.tmx"), "01,02\r\n07"));
        QVERIFY(QFile::link(path("level.tmx"), path("link.tmx")));
        QVERIFY(::link(QFile::encodeName(path("level.tmx")).constData(),
                       QFile::encodeName(path("hard.tmx")).constData()) == 0);
        QVERIFY(testing::WriteBytes(path("map.tmx"), Map()));
        QVERIFY(testing::WriteBytes(path("fifo-tileset.tmx"), Map("fifo.tsx")));
        QVERIFY(QFile::link(path("map.tmx"), path("map-link.lvl")));
        QVERIFY(::link(QFile::encodeName(path("map.tmx")).constData(),
                       QFile::encodeName(path("map-hard.lvl")).constData()) == 0);
        // Tile sets whose 01.bmp is no bitmap file.
        for (const char* kind : {"cut", "dirs", "fifo", "device", "loop"})
            QVERIFY(testing::WriteTileSet(path(kind)));
        QVERIFY(QFile::resize(path("cut/07.bmp"), 1000));
        for (const char* kind : {"dirs", "fifo", "device", "loop"})
            QVERIFY(QFile::remove(path(kind) + "/01.bmp"));
        QVERIFY(QDir().mkpath(path("dirs/01.bmp")));
        QVERIFY(::mkfifo(QFile::encodeName(path("fifo/01.bmp")).constData(), 0644) == 0);
        QVERIFY(QFile::link("/dev/zero", path("device/01.bmp")));
        QVERIFY(QFile::link(path("loop/01.bmp"), path("loop/01.bmp")));
        // Root writes anywhere a mode allows; the system's own folders refuse it too.
        QVERIFY(QDir().mkpath(path("locked")));
        QVERIFY(QFile::setPermissions(path("locked"), QFile::ReadOwner | QFile::ExeOwner));
    }

    void refusedInOneLine_data()
    {
        QTest::addColumn<QStringList>("arguments"); // "@" stands for the test's folder
        QTest::addColumn<QString>("message");
        const QString out = "@/out/out.png";
        const QString level = "@/level.lvl";
        const auto row = [](const char* name, const QStringList& arguments,
                            const QString& message) {
            QTest::newRow(name) << arguments << message;
        };
        row("level is a folder", {"render", "@/folder.lvl", "-o", out}, "folder.lvl: is a folder");
        row("level is a FIFO", {"render", "@/fifo.lvl", "-o", out},
            "fifo.lvl: is a FIFO, not a regular file");
        row("binary file", {"render", "@/picture.lvl", "-o", out},
            "picture.lvl: not a level but a binary file");
        row("missing level", {"render", "@/none.lvl", "-o", out},
            "none.lvl: no such file or folder");
        row("0-byte level", {"render", "@/empty.lvl", "-o", out}, "empty.lvl: no rows to draw");
        row("no tile code in it", {"render", "@/text.lvl", "-o", out},
            "text.lvl: no tiles to draw");
        row("missing resources folder", {"render", level, "-r", "@/nowhere", "-o", out},
            "nowhere: no such resources folder");
        row("resources folder is a file", {"render", level, "-r", level, "-o", out},
            "level.lvl: not a folder");
        row("truncated bitmap", {"render", level, "-r", "@/cut", "-o", out},
            "07.bmp: truncated: 1000 of the 4854 bytes");
        row("a folder named 01.bmp", {"render", level, "-r", "@/dirs", "-o", out},
            "dirs/01.bmp: is a folder");
        row("a FIFO named 01.bmp", {"render", level, "-r", "@/fifo", "-o", out},
            "fifo/01.bmp: is a FIFO, not a regular file");
        row("/dev/zero as 01.bmp", {"render", level, "-r", "@/device", "-o", out},
            "device/01.bmp: is a device, not a regular file");
        row("01.bmp a symlink loop", {"render", level, "-r", "@/loop", "-o", out},
            "loop/01.bmp: is a symlink loop");
        row("unwritable output folder",
            {"render", level, "-o",
             (::geteuid() == 0 ? QStringLiteral("/proc/self") : QStringLiteral("@/locked")) +
                 "/out.png"},
            "out.png: permission denied");
        row("output is the level", {"render", level, "-o", level},
            "level.lvl: is the same file as @/level.lvl, which this command reads");
        row("output is no PNG", {"render", level, "-o", "@/out/out.jpg"},
            "out.jpg: render writes a PNG; give a name ending in .png");
        row("output is a folder", {"render", level, "-o", "@/out"}, "out: is a folder");
        row("scale 0", {"render", level, "--scale", "0"}, "--scale \"0\": must be");
        row("scale nan", {"render", level, "--scale", "nan"}, "--scale \"nan\": must be");
        row("scale inf", {"render", level, "--scale", "inf"}, "--scale \"inf\": must be");
        row("rows 9:3", {"render", level, "--rows", "9:3"},
            "--rows \"9:3\": the first row comes after the last");
        row("rows past the end", {"render", level, "--rows", "3:4", "-o", out},
            "--rows starts at row 3, but the level has 2 rows");
        row("thumbnail size 0", {"thumbnail", "-s", "0", level, out}, "-s \"0\": must be");
        row("thumbnail onto its level", {"thumbnail", "-s", "64", level, "@/sub/../level.lvl"},
            "level.lvl: is the same file as @/level.lvl, which this command reads");
        row("info of a folder", {"info", "@/folder.lvl"}, "folder.lvl: is a folder");
        row("check of a FIFO", {"check", "@/fifo.lvl"}, "fifo.lvl: is a FIFO, not a regular file");

        const QString map = "@/out/map.tmx";
        row("export of a binary file", {"export", "@/picture.lvl", "-o", map},
            "picture.lvl: not a level but a binary file");
        row("export of a text with no tile code", {"export", "@/text.lvl", "-o", map},
            "text.lvl: not a level: none of its drawn cells is a tile code");
        row("export of an empty level", {"export", "@/empty.lvl", "-o", map},
            "empty.lvl: not a level: none of its drawn cells is a tile code");
        row("export onto its level", {"export", "@/level.tmx", "-o", "@/level.tmx"},
            "level.tmx: is the same file as @/level.tmx, which this command reads");
        row("export onto its level through ..",
            {"export", "@/level.tmx", "-o", "@/sub/../level.tmx"},
            "sub/../level.tmx: is the same file as");
        row("export onto its level through a hard link",
            {"export", "@/level.tmx", "-o", "@/hard.tmx"}, "hard.tmx: is the same file as");
        row("export onto its level through a symlink",
            {"export", "@/level.tmx", "-o", "@/link.tmx"}, "link.tmx: is the same file as");
        row("export into a folder", {"export", level, "-o", "@/out"}, "out: is a folder");
        row("export with a FIFO for a bitmap", {"export", level, "-r", "@/fifo", "-o", map},
            "fifo/01.bmp: is a FIFO, not a regular file");
        row("export with /dev/zero for a bitmap", {"export", level, "-r", "@/device", "-o", map},
            "device/01.bmp: is a device, not a regular file");

        const QString back = "@/out/back.lvl";
        row("import onto its map", {"import", "@/map.tmx", "-o", "@/map.tmx", "--force"},
            "map.tmx: is the same file as @/map.tmx, which this command reads");
        row("import onto its map through a symlink",
            {"import", "@/map.tmx", "-o", "@/map-link.lvl"}, "map-link.lvl: is the same file as");
        row("import onto its map through a hard link",
            {"import", "@/map.tmx", "-o", "@/map-hard.lvl"}, "map-hard.lvl: is the same file as");
        row("import onto its map through ..", {"import", "@/map.tmx", "-o", "@/sub/../map.tmx"},
            "sub/../map.tmx: is the same file as");
        row("import to a name that is no level's", {"import", "@/map.tmx", "-o", "@/out/back.txt"},
            "back.txt: import writes level text; give a name ending in .lvl (or --force");
        row("import into a folder", {"import", "@/map.tmx", "-o", "@/out"}, "out: is a folder");
        row("import of a folder", {"import", "@/folder.tmx", "-o", back},
            "folder.tmx: is a folder");
        row("import with a FIFO for a tileset", {"import", "@/fifo-tileset.tmx", "-o", back},
            "fifo-tileset.tmx: line 2: tileset fifo.tsx: is a FIFO, not a regular file");
    }

    void refusedInOneLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        arguments.replaceInStrings("@", m_dir.path());
        message.replace("@", m_dir.path());
        const QStringList before = testing::Snapshot(m_dir.path());
        const testing::CliResult result = RunCli(arguments, 20000);
        QCOMPARE(result.status, 2);
        const QString err = QString::fromUtf8(result.err);
        QVERIFY2(err.startsWith(QLatin1String("hollenby-level: ")) && err.contains(message) &&
                     err.count(QLatin1Char('\n')) == 1 && err.endsWith(QLatin1Char('\n')),
                 qPrintable(err));
        // check goes on to the other levels and sums up what it could check.
        QVERIFY(result.out.isEmpty() || arguments.first() == QLatin1String("check"));
        QCOMPARE(testing::Snapshot(m_dir.path()), before);
    }

    // Where no temporary file can be made beside it, an output is not written in place either,
    // though the file itself may be written: a failure part-way would leave it half made. Root
    // may write in any folder, so the commands run as an ordinary user.
    void noTemporaryFileNoOutput_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("render") << QStringList{"render", "@/level.lvl", "-o", "@/shut/out.png"};
        QTest::newRow("export") << QStringList{"export", "@/level.lvl", "-o", "@/shut/out.tmx"};
        QTest::newRow("import") << QStringList{"import", "@/map.tmx", "-o", "@/shut/out.lvl"};
    }

    void noTemporaryFileNoOutput()
    {
        QFETCH(QStringList, arguments);
        QTemporaryDir dir;
        QVERIFY(QFile::setPermissions(dir.path(), QFile::permissions(dir.path()) | QFile::ExeOther |
                                                      QFile::ReadOther));
        QVERIFY(testing::WriteTileSet(dir.filePath("_resources")));
        QVERIFY(testing::WriteBytes(dir.filePath("level.lvl"), "01,02\r\n07"));
        QVERIFY(testing::WriteBytes(dir.filePath("map.tmx"), Map()));
        QVERIFY(QDir().mkpath(dir.filePath("shut")));
        const QString output = dir.path() + arguments.last().mid(1);
        QVERIFY(testing::WriteBytes(output, "as it was"));
        QVERIFY(::chmod(QFile::encodeName(output).constData(), 0666) == 0);
        QVERIFY(::chmod(QFile::encodeName(dir.filePath("shut")).constData(), 0555) == 0);
        arguments.replaceInStrings("@", dir.path());

        QProcess process;
        process.setChildProcessModifier([] {
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                ::_exit(99);
        });
        process.start(QStringLiteral(HOLLENBY_LEVEL), arguments);
        QVERIFY(process.waitForFinished(20000));
        const QByteArray err = process.readAllStandardError();
        QCOMPARE(process.exitCode(), 2);
        QVERIFY2(err.contains("permission denied (cannot write in") && err.count('\n') == 1,
                 err.constData());
        QCOMPARE(testing::ReadBytes(output), std::string("as it was"));
        QCOMPARE(QDir(dir.filePath("shut")).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }
};

QTEST_GUILESS_MAIN(BadInputTest)
#include "badinput_test.moc"
