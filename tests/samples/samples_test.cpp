// The shipped levels, tile set, pictures and desktop files fit together: every tile a level uses
// has a bitmap that decodes at the grid's 40 x 40, and the pictures the application asks for by
// resource path are there at their nominal sizes.

#include "level.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QSet>
#include <QTest>

using namespace hollenby;

namespace {

const QString kSamples = QStringLiteral(SAMPLES_DIR);
const QString kTiles = kSamples + QStringLiteral("/_resources/");

// Empty when the bitmap decodes at 40 x 40, otherwise what went wrong.
QString TileProblem(const QString& path)
{
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull())
        return path + QStringLiteral(": ") + reader.errorString();
    if (image.size() != QSize(40, 40))
        return QStringLiteral("%1: %2 x %3").arg(path).arg(image.width()).arg(image.height());
    return {};
}

} // namespace

class SamplesTest : public QObject
{
    Q_OBJECT

private slots:
    void levelTilesDecode_data()
    {
        QTest::addColumn<QString>("name");
        const QStringList levels = QDir(kSamples).entryList({QStringLiteral("*.lvl")});
        QVERIFY(levels.size() >= 3);
        for (const QString& name : levels)
            QTest::newRow(qPrintable(name)) << name;
    }

    void levelTilesDecode()
    {
        QFETCH(QString, name);
        QFile file(kSamples + QLatin1Char('/') + name);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const std::string_view text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        QSet<QString> checked;
        int rows = 0;
        for (const auto line : SplitLevelLines(text)) {
            const auto cells = SplitLevelCells(line);
            if (!IsLevelRow(cells))
                continue;
            ++rows;
            for (const auto cell : cells) {
                const QString file = QString::fromStdString(TileBitmapFile(cell));
                if (file.isEmpty() || checked.contains(file))
                    continue;
                checked.insert(file);
                QCOMPARE(TileProblem(kTiles + file), QString());
            }
        }
        QVERIFY2(rows > 0, "a sample level without rows");
        QVERIFY2(!checked.isEmpty(), "a sample level without tiles");
    }

    void everyTableTileIsThereAndDistinct()
    {
        QSet<QByteArray> seen;
        for (const auto code : TileCodes()) {
            const QString path = kTiles + QString::fromStdString(TileBitmapFile(code));
            QCOMPARE(TileProblem(path), QString());
            QImage image(path);
            const QByteArray pixels(reinterpret_cast<const char*>(image.constBits()),
                                    image.sizeInBytes());
            QVERIFY2(!seen.contains(pixels), qPrintable(path + " looks like another tile"));
            seen.insert(pixels);
        }
    }

    void appPicturesDecodeAtTheirSizes_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        for (const int n : {16, 24, 32, 48, 64, 128, 256})
            QTest::newRow(qPrintable(QString::number(n)))
                << QStringLiteral(":/icons/hollenby-level-editor-%1.png").arg(n) << QSize(n, n);
        QTest::newRow("car") << QStringLiteral(":/car.png") << QSize(24, 24);
        QTest::newRow("folder") << QStringLiteral(":/folder-search.png") << QSize(16, 16);
    }

    void appPicturesDecodeAtTheirSizes()
    {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        const QImage image(path);
        QVERIFY2(!image.isNull(), qPrintable(path));
        QCOMPARE(image.size(), size);
        QVERIFY(image.hasAlphaChannel());
    }

    // The editor reads no command line, so its entry must not offer to open levels; the type
    // itself is declared for file managers and the thumbnailer.
    void desktopEntryNamesTheIconAndNotTheLevelType()
    {
        QFile entry(QStringLiteral(APP_RESOURCES_DIR "/hollenby-level-editor.desktop"));
        QVERIFY(entry.open(QIODevice::ReadOnly | QIODevice::Text));
        const QString text = QString::fromUtf8(entry.readAll());
        QVERIFY(text.contains(QStringLiteral("\nIcon=hollenby-level-editor\n")));
        QVERIFY(text.contains(QStringLiteral("\nExec=hollenby-level-editor")));
        QFile mime(QStringLiteral(APP_RESOURCES_DIR "/hollenby-level.xml"));
        QVERIFY(mime.open(QIODevice::ReadOnly | QIODevice::Text));
        const QString types = QString::fromUtf8(mime.readAll());
        QVERIFY(types.contains(QStringLiteral("application/x-hollenby-level")));
        QVERIFY(!text.contains(QStringLiteral("MimeType=")));
        QVERIFY(types.contains(QStringLiteral("*.lvl")));
    }
};

QTEST_MAIN(SamplesTest)
#include "samples_test.moc"
