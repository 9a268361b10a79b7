// Bitmap names of the resources folder found without regard to case, as on the system the tile
// sets come from, and only where exactly one name fits.

#include "resourcefiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace hollenby::ui;

class ResourceFilesTest : public QObject
{
    Q_OBJECT

private slots:
    // The files of the folder, the name asked for, and the file it finds; empty when the name
    // asked for stays as it is.
    void namesMatchWithoutRegardToCase_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("found");
        QTest::newRow("the exact name comes first") << QStringList{"01.BMP", "01.bmp"} << "01.bmp"
                                                    << "01.bmp";
        QTest::newRow("a named bitmap in any case")
            << QStringList{"BMPOBJ_WARNOPEN.BMP"} << "bmpOBJ_WarnOpen.bmp"
            << "BMPOBJ_WARNOPEN.BMP";
        QTest::newRow("two that fit: neither") << QStringList{"01.BMP", "01.Bmp"} << "01.bmp"
                                               << "";
        QTest::newRow("letters beyond ASCII keep their case")
            << QStringList{"\u00c4.bmp"} << "\u00e4.bmp"
            << "";
        QTest::newRow("a missing folder") << QStringList{} << "missing/01.bmp"
                                          << "";
    }

    void namesMatchWithoutRegardToCase()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, asked);
        QFETCH(QString, found);
        QTemporaryDir dir;
        for (const QString& entry : entries)
            QVERIFY(QFile(dir.filePath(entry)).open(QIODevice::WriteOnly));
        // Built as the level functions build it: folder, "\", file name.
        const QString path = dir.path() + '\\' + asked;
        QCOMPARE(ResourceFilePath(path), dir.path() + '/' + (found.isEmpty() ? asked : found));
    }
};

QTEST_MAIN(ResourceFilesTest)
#include "resourcefiles_test.moc"
