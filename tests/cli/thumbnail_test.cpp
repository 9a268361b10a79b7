// thumbnail: the editor's opening view fitted into SIZE x SIZE, and a picture even without a tile
// set beside the level.

#include "clirun.h"
#include "testsupport.h"
#include "tileset.h"

#include <QDir>
#include <QImage>
#include <QTest>

#include <string>

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

    // A thumbnail service creates the output, holds it open and reads the picture through that
    // handle; any other output is replaced whole, so a reader of the old file keeps the old one.
    void heldOutputSeesWhatItShould_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<bool>("picture"); // whether the held handle reads the new picture
        QTest::newRow("empty file: written into it") << QByteArray() << true;
        QTest::newRow("file with content: replaced") << QByteArray("old bytes") << false;
    }

    void heldOutputSeesWhatItShould()
    {
        QFETCH(QByteArray, before);
        QFETCH(bool, picture);
        const QString out = m_dir.filePath(QStringLiteral("held.png"));
        QVERIFY(testing::WriteBytes(out, before.toStdString()));
        QFile held(out);
        QVERIFY(held.open(QIODevice::ReadOnly));
        const QString level = m_dir.filePath(QStringLiteral("held.lvl"));
        QVERIFY(testing::WriteBytes(level, "01,02,03\r\n"));

        const testing::CliResult result = RunCli(
            {QStringLiteral("thumbnail"), QStringLiteral("-s"), QStringLiteral("64"), level, out});
        QCOMPARE(result.status, 0);
        const QByteArray seen = held.readAll();
        if (picture)
            QCOMPARE(QImage::fromData(seen, "PNG").size(), QSize(64, 8));
        else
            QCOMPARE(seen, before);
        QCOMPARE(QImage(out).size(), QSize(64, 8));
    }

    // A preview reads a level only up to the last row it draws: what comes after, binary bytes
    // here, is never looked at. The 13th row's CR LF may fall across two reads.
    void readsOnlyTheRowsItDraws_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("lastRowBytes");
        QTest::addColumn<bool>("drawn");
        QTest::newRow("13 rows, then binary bytes: drawn") << 13 << 5 << true;
        QTest::newRow("12 rows, then binary bytes: refused") << 12 << 5 << false;
        // 12 rows of 7 bytes, then a row ending just before the 64 KiB boundary.
        QTest::newRow("13th row's CR LF across two reads: drawn") << 13 << 65536 - 1 - 84 << true;
    }

    void readsOnlyTheRowsItDraws()
    {
        QFETCH(int, rows);
        QFETCH(int, lastRowBytes);
        QFETCH(bool, drawn);
        std::string bytes = testing::RepeatLines("01,02", rows - 1, true);
        bytes += "03," + std::string(static_cast<std::size_t>(lastRowBytes - 3), '0');
        bytes += std::string("\r\n\0\0PNG", 7) + testing::RepeatLines("04", 200000, true);
        const QString level = m_dir.filePath(QStringLiteral("long.lvl"));
        QVERIFY(testing::WriteBytes(level, bytes));
        const QString out = m_dir.filePath(QStringLiteral("long.png"));
        QFile::remove(out);
        const testing::CliResult result = RunCli({QStringLiteral("thumbnail"), QStringLiteral("-s"),
                                                  QStringLiteral("1024"), level, out});
        QCOMPARE(result.status, drawn ? 0 : 2);
        if (drawn)
            QCOMPARE(QImage(out).size(), QSize(313, 40 * rows));
        else
            QVERIFY2(result.err.contains("binary"), result.err.constData());
    }
};

QTEST_GUILESS_MAIN(ThumbnailTest)
#include "thumbnail_test.moc"
