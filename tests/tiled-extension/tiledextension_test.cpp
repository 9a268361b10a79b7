// The extension as designers meet it in Debian's Tiled: installed by hollenby-level, drawing a
// level as the program renders it, saving a map painted in Tiled as import would, opening a
// level without its tile set, and never stuck on a file that is not a plain file.

#include "testsupport.h"
#include "tiledrun.h"
#include "tileset.h"

#include <QDirIterator>
#include <QImage>
#include <QTest>

#include <sys/stat.h>

using namespace hollenby;
using namespace hollenby::testing;

namespace {

const QString kAllCodes = QStringLiteral("01,02,03,04,05,06,07,08\r\n09,10,11,12,13,14,15,16\r\n"
                                         "17,18,19,20,98,99,01,02\r\n");

bool SamePicture(const QImage& a, const QImage& b)
{
    return !a.isNull() &&
           a.convertToFormat(QImage::Format_ARGB32) == b.convertToFormat(QImage::Format_ARGB32);
}

// The files under `folder`, by their paths inside it.
QStringList FilesIn(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

} // namespace

class TiledExtensionTest : public QObject
{
    Q_OBJECT

private:
    TiledHome m_home;

    bool listed(const TiledHome& home)
    {
        const CliResult formats = home.tiled({"--export-formats"});
        return formats.out.contains("\n hollenby-level\n");
    }

private slots:
    void initTestCase()
    {
        QCOMPARE(m_home.cli({"tiled-extension", "install"}).status, 0);
        const QString painting = m_home.extensions() + "/painting";
        QVERIFY(QDir().mkpath(painting));
        QVERIFY(QFile::copy(PAINT_EXTENSION, painting + "/paint.mjs"));
    }

    // Installed where Tiled looks, replacing an older copy whole, the same files the program
    // installs for packagers.
    void installPutsTheExtensionWhereTiledLooks()
    {
        const TiledHome home;
        QVERIFY(!listed(home));
        const CliResult path = home.cli({"tiled-extension", "path"});
        const QString folder = home.extensions() + "/hollenby-level";
        QCOMPARE(path.out, (folder + "\n").toUtf8());
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(WriteBytes(folder + "/old-part.mjs", "throw new Error('old copy');"));
        const CliResult installed = home.cli({"tiled-extension", "install"});
        QVERIFY2(installed.status == 0, installed.err.constData());
        QVERIFY(listed(home));

        QTemporaryDir prefix;
        QCOMPARE(RunProgram(CMAKE_COMMAND,
                            {"--install", BUILD_DIR, "--prefix", prefix.path(), "--component",
                             "tiled-extension"},
                            60000, QProcessEnvironment::systemEnvironment())
                     .status,
                 0);
        const QString shipped = prefix.filePath("share/hollenby-level-editor/tiled");
        QCOMPARE(FilesIn(folder), FilesIn(shipped));
        for (const QString& file : FilesIn(folder))
            QCOMPARE(ReadBytes(folder + "/" + file), ReadBytes(shipped + "/" + file));
    }

    void tiledDrawsTheLevelAsRendered_data()
    {
        QTest::addColumn<QString>("level");
        QTest::addColumn<bool>("upperCase");
        QTest::newRow("short.lvl") << "short.lvl" << false;
        QTest::newRow("corners.lvl") << "corners.lvl" << false;
        QTest::newRow("all 22 codes") << kAllCodes << false;
        QTest::newRow("all 22 codes, bitmap names in upper case") << kAllCodes << true;
    }

    // tiled --export-map tmx LEVEL.lvl, drawn by tmxrasterizer, is hollenby-level render's picture.
    void tiledDrawsTheLevelAsRendered()
    {
        QFETCH(QString, level);
        QFETCH(bool, upperCase);
        QTemporaryDir dir;
        QVERIFY(CopySampleResources(dir.path()));
        const QString path = dir.filePath("level.lvl");
        if (level.endsWith(".lvl"))
            QVERIFY(QFile::copy(kSamples + "/" + level, path));
        else
            QVERIFY(WriteBytes(path, level.toStdString()));
        if (upperCase) {
            for (const QString& name : FilesIn(dir.filePath("_resources")))
                QVERIFY(QDir(dir.filePath("_resources")).rename(name, name.toUpper()));
        }
        const CliResult read = m_home.tiled({"--export-map", "tmx", path, dir.filePath("map.tmx")});
        QVERIFY2(read.status == 0, read.err.constData());
        QCOMPARE(m_home.tiled({dir.filePath("map.tmx"), dir.filePath("tiled.png")}, "tmxrasterizer")
                     .status,
                 0);
        QCOMPARE(m_home.cli({"render", path, "-o", dir.filePath("render.png")}).status, 0);
        QVERIFY(SamePicture(QImage(dir.filePath("tiled.png")), QImage(dir.filePath("render.png"))));
    }

    // Tiles changed, a second tile layer and an object layer added in Tiled: saved by Tiled as
    // a level, it is what import makes of the same map.
    void paintedMapSavesAsImportWrites()
    {
        QTemporaryDir dir;
        QVERIFY(CopySampleResources(dir.path()));
        const QString level = dir.filePath("short.lvl");
        QVERIFY(QFile::copy(kSamples + "/short.lvl", level));
        const QString job = dir.filePath("job.painted");
        QVERIFY(WriteBytes(job, level.toStdString()));
        const QString saved = dir.filePath("saved.lvl"), map = dir.filePath("painted.tmx");
        QCOMPARE(m_home.tiled({"--export-map", "hollenby-level", job, saved}).status, 0);
        QCOMPARE(m_home.tiled({"--export-map", "tmx", job, map}).status, 0);
        const QString text = QString::fromStdString(ReadBytes(map));
        QVERIFY(text.contains("name=\"notes\"") && text.contains("<objectgroup"));
        QCOMPARE(m_home.cli({"import", map, "-o", dir.filePath("imported.lvl")}).status, 0);
        QCOMPARE(ReadBytes(saved), ReadBytes(dir.filePath("imported.lvl")));
        QVERIFY(ReadBytes(saved).starts_with("98,02,01,10,01,02,02,00\r\n02,01,01,06,"));
    }

    // No _resources beside the level: each code gets a flat tile in the colour the thumbnails
    // give it, and the level still comes back whole.
    void levelWithoutResourcesOpensWithFlatTiles()
    {
        QTemporaryDir dir;
        const QString level = dir.filePath("level.lvl");
        QVERIFY(WriteBytes(level, kAllCodes.toStdString()));
        const QString map = dir.filePath("map.tmx");
        const CliResult read = m_home.tiled({"--export-map", "tmx", level, map});
        QVERIFY2(read.status == 0 && read.err.contains("[missing-resources]"),
                 read.err.constData());
        QCOMPARE(m_home.tiled({map, dir.filePath("tiled.png")}, "tmxrasterizer").status, 0);
        const QImage drawn(dir.filePath("tiled.png"));
        QCOMPARE(drawn.size(), QSize(320, 120));
        for (int cell = 0; cell < 24; ++cell) {
            const int index = cell % cli::kTileCodeCount;
            QCOMPARE(drawn.pixel(cell % 8 * 40 + 2, cell / 8 * 40 + 2) & 0xFFFFFF,
                     cli::TileSet::FlatColour(index));
        }
        QCOMPARE(
            m_home.tiled({"--export-map", "hollenby-level", map, dir.filePath("back.lvl")}).status,
            0);
        QCOMPARE(QString::fromStdString(ReadBytes(dir.filePath("back.lvl"))), kAllCodes);
    }

    // A FIFO or a device read as a level or a bitmap would never end: refused or passed over.
    // A bitmap that does not decode is passed over too, and no map refers to it.
    void unusableFilesAreRefusedOrPassedOver()
    {
        QTemporaryDir dir;
        QVERIFY(CopySampleResources(dir.path()));
        const QString fifo = dir.filePath("fifo.lvl");
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const CliResult level = m_home.tiled({"--export-map", "tmx", fifo, dir.filePath("a.tmx")});
        QVERIFY2(level.status > 0 && level.err.contains("is a FIFO, a device or a socket"),
                 level.err.constData());

        const QString resources = dir.filePath("_resources/");
        QVERIFY(QFile::remove(resources + "01.bmp") && QFile::remove(resources + "02.bmp"));
        QCOMPARE(mkfifo(QFile::encodeName(resources + "01.bmp").constData(), 0600), 0);
        QVERIFY(QFile::link("/dev/zero", resources + "02.bmp"));
        QVERIFY(WriteBytes(resources + "03.bmp", "BM not a picture"));
        const QString path = dir.filePath("level.lvl");
        QVERIFY(WriteBytes(path, kAllCodes.toStdString()));
        const QString map = dir.filePath("b.tmx");
        const CliResult read = m_home.tiled({"--export-map", "tmx", path, map});
        QVERIFY2(read.status == 0, read.err.constData());
        QCOMPARE(read.err.count("[missing-bitmap]"), 3);
        QVERIFY(!QString::fromStdString(ReadBytes(map)).contains("_resources/03.bmp"));
    }
};

QTEST_GUILESS_MAIN(TiledExtensionTest)
#include "tiledextension_test.moc"
