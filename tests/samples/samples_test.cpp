// The shipped files as the program reads them: the tile set and the application's pictures decode
// at their sizes, and the desktop entry names the icon and the program. That the files match
// their generator is samples_art_current's job.

#include "level.h"

#include <QFile>
#include <QImageReader>
#include <QSet>
#include <QTest>

using namespace hollenby;

class SamplesTest : public QObject
{
    Q_OBJECT

private slots:
    // Every code a level can use has a bitmap at the grid's 40 x 40, none a copy of another; and
    // each picture the application asks for by resource path is there at its nominal size.
    void picturesDecodeAtTheirSizes()
    {
        QList<std::pair<QString, QSize>> pictures;
        for (const auto code : TileCodes())
            pictures.append({QStringLiteral(SAMPLES_DIR "/_resources/") +
                                 QString::fromStdString(TileBitmapFile(code)),
                             QSize(40, 40)});
        for (const int n : {16, 24, 32, 48, 64, 128, 256})
            pictures.append(
                {QStringLiteral(":/icons/hollenby-level-editor-%1.png").arg(n), QSize(n, n)});
        pictures.append({QStringLiteral(":/car.png"), QSize(24, 24)});
        pictures.append({QStringLiteral(":/folder-search.png"), QSize(16, 16)});
        QSet<QByteArray> tiles;
        for (qsizetype i = 0; i < pictures.size(); ++i) {
            const auto& [path, size] = pictures[i];
            QImageReader reader(path);
            const QImage image = reader.read();
            QVERIFY2(!image.isNull(), qPrintable(path + ": " + reader.errorString()));
            QVERIFY2(image.size() == size, qPrintable(path));
            if (i < static_cast<qsizetype>(TileCodes().size())) {
                const QByteArray pixels(reinterpret_cast<const char*>(image.constBits()),
                                        image.sizeInBytes());
                QVERIFY2(!tiles.contains(pixels), qPrintable(path + " looks like another tile"));
                tiles.insert(pixels);
            } else {
                QVERIFY2(image.hasAlphaChannel(), qPrintable(path));
            }
        }
    }

    // What no validator checks: the entry names the icon and program the package installs. (That
    // it claims no level type, which the editor cannot open, is the install test's.)
    void desktopEntryNamesTheIconAndTheProgram()
    {
        QFile entry(QStringLiteral(APP_RESOURCES_DIR "/hollenby-level-editor.desktop"));
        QVERIFY(entry.open(QIODevice::ReadOnly | QIODevice::Text));
        const QString text = QString::fromUtf8(entry.readAll());
        QVERIFY(text.contains(QStringLiteral("\nIcon=hollenby-level-editor\n")));
        QVERIFY(text.contains(QStringLiteral("\nExec=hollenby-level-editor")));
    }
};

QTEST_MAIN(SamplesTest)
#include "samples_test.moc"
