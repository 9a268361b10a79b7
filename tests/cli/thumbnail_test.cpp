// thumbnail: the editor's opening view fitted into SIZE x SIZE, and a picture even without a tile
// set beside the level.

#include "clirun.h"
#include "testsupport.h"
#include "tileset.h"

#include <QDir>
#include <QImage>
#include <QTest>

using namespace hollenby;
using testing::RunCli;

class ThumbnailTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QImage thumbnail(const QString& level, int size)
    {
        const QString out = m_dir.filePath(QStringLiteral("thumb.png"));
        QFile::remove(out);
        const testing::CliResult result = RunCli(
            {QStringLiteral("thumbnail"), QStringLiteral("-s"), QString::number(size), level, out});
        if (result.status != 0)
            qWarning() << result.err;
        return QImage(out);
    }

private slots:
    void fitsWithinSize_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("size");
        QTest::addColumn<QSize>("expected");
        // The editor opens on 13 rows of its grid, 313 x 520 px, and a preview never grows.
        QTest::newRow("tall level, 128") << 40 << 128 << QSize(77, 128);
        QTest::newRow("tall level, 1") << 40 << 1 << QSize(1, 1);
        QTest::newRow("tall level, 519") << 40 << 519 << QSize(312, 519);
        QTest::newRow("tall level, 1024: full size") << 40 << 1024 << QSize(313, 520);
        QTest::newRow("one row, 256") << 1 << 256 << QSize(256, 33);
        QTest::newRow("one row, 100") << 1 << 100 << QSize(100, 13);
    }

    void fitsWithinSize()
    {
        QFETCH(int, rows);
        QFETCH(int, size);
        QFETCH(QSize, expected);
        QVERIFY(testing::WriteTileSet(m_dir.filePath(QStringLiteral("_resources"))));
        const QString level = m_dir.filePath(QStringLiteral("level.lvl"));
        QVERIFY(testing::WriteBytes(level,
                                    testing::RepeatLines("01,02,03,04,05,06,07,08", rows, true)));
        QCOMPARE(thumbnail(level, size).size(), expected);
    }

    void findsATileSet_data()
    {
        QTest::addColumn<QString>("resources"); // relative to the level's folder; "" for none
        QTest::addColumn<bool>("flat");
        QTest::newRow("beside the level") << QStringLiteral("_resources") << false;
        QTest::newRow("one folder up") << QStringLiteral("../_resources") << false;
        QTest::newRow("none: a flat colour per code") << QString() << true;
    }

    void findsATileSet()
    {
        QFETCH(QString, resources);
        QFETCH(bool, flat);
        QTemporaryDir dir;
        const QDir levels(dir.filePath(QStringLiteral("game/levels")));
        QVERIFY(levels.mkpath(QStringLiteral(".")));
        if (!resources.isEmpty())
            QVERIFY(testing::WriteTileSet(QDir::cleanPath(levels.filePath(resources))));
        const QString level = levels.filePath(QStringLiteral("level.lvl"));
        QVERIFY(testing::WriteBytes(level, "05,zz,98"));

        const QImage image = thumbnail(level, 1024);
        QCOMPARE(image.size(), QSize(313, 40));
        const auto colour = [flat](std::string_view code, int index) {
            return flat ? QColor::fromRgb(cli::TileSet::FlatColour(index))
                        : testing::TileColour(code);
        };
        QCOMPARE(image.pixelColor(20, 20), colour("05", 4));
        QCOMPARE(image.pixelColor(60, 20).alpha(), 0);
        QCOMPARE(image.pixelColor(100, 20), colour("98", 20));
    }
};

QTEST_GUILESS_MAIN(ThumbnailTest)
#include "thumbnail_test.moc"
