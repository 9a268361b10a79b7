// The graphical key: which entries a folder gives and where, what stays from earlier folders,
// and what is said about folders and bitmaps it cannot use.

#include "levelkey.h"
#include "testsupport.h"

#include <QDir>
#include <QLabel>
#include <QRegularExpression>
#include <QTest>

#include <sys/stat.h>

using namespace hollenby;
using testing::MainWindowFixture;

namespace {

// The file shown for code n, which is also its caption.
QString Shown(int n)
{
    if (n == 98)
        return QStringLiteral("bmpOBJ_WarnOpen.bmp");
    if (n == 99)
        return QStringLiteral("bmpOBJ_WarnFunnel.bmp");
    return QStringLiteral("%1.bmp").arg(n, 2, 10, QLatin1Char('0'));
}

QColor Colour(int n)
{
    return QColor(n * 2, 255 - n * 2, 128);
}

QStringList Files(int from, int to, QList<int> also = {})
{
    QStringList files;
    for (int n = from; n <= to; ++n)
        files << Shown(n);
    for (const int n : also)
        files << Shown(n);
    return files;
}

const QStringList kTileSet = Files(1, 20, {98, 99});

// Each file in the colour of the code it shows; anything else as text.
void WriteFolder(const QString& folder, const QStringList& files)
{
    QDir().mkpath(folder);
    for (const QString& file : files) {
        const int n = file == Shown(98) ? 98 : file == Shown(99) ? 99 : file.left(2).toInt();
        if (file.endsWith(QLatin1String(".bmp")))
            QVERIFY(testing::WriteBitmap(folder + '/' + file, Colour(n)));
        else
            QVERIFY(testing::WriteBytes(folder + '/' + file, "01,02"));
    }
}

// One column of entries, tops from 615 in steps of 615.
QStringList Column(int left, QList<int> codes)
{
    QStringList entries;
    for (int i = 0; i < codes.size(); ++i)
        entries << QStringLiteral("%1@%2,%3 %4")
                       .arg(codes[i])
                       .arg(left)
                       .arg(615 + 615 * i)
                       .arg(Shown(codes[i]));
    return entries;
}

// Every placed entry as "n@left,top caption". What all entries share (the label 615 to the
// right, 900 x 255, both tagged n, the code's own bitmap at its size) shows up only when broken.
QStringList Entries(const editor::MainControls& c)
{
    QStringList entries;
    c.imgKEY->forEach([&](int n, ui::Image& image) {
        if (!image.Visible() || image.Tag().isEmpty()) // element 1 is blank until placed
            return;
        const ui::Label& label = (*c.lblKEY)(n);
        QString entry = QStringLiteral("%1@%2,%3 %4")
                            .arg(n)
                            .arg(image.Left())
                            .arg(image.Top())
                            .arg(label.Caption());
        if (!label.Visible() || label.Left() != image.Left() + 615 || label.Top() != image.Top() ||
            label.Width() != 900 || label.Height() != 255)
            entry += QStringLiteral(" label misplaced");
        if (image.Tag() != QString::number(n) || label.Tag() != QString::number(n))
            entry += QStringLiteral(" tags");
        if (!image.hasPicture())
            entry += QStringLiteral(" no picture");
        else if (image.Picture().toImage().pixelColor(1, 1) != Colour(n) || image.Width() != 600)
            entry += QStringLiteral(" other picture");
        entries << entry;
    });
    return entries;
}

const QList<int> kFirst14{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};

} // namespace

class KeyTest : public QObject
{
    Q_OBJECT

private slots:
    void layout_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("entries");
        const QStringList full =
            Column(9795, kFirst14) + Column(11395, {15, 16, 17, 18, 19, 20, 98, 99});
        QTest::newRow("tile set: 14 a column") << "res" << kTileSet << full;
        QTest::newRow("trailing slash") << "res/" << kTileSet << full;
        QTest::newRow("trailing backslash") << "res\\" << kTileSet << full;
        QTest::newRow("spaces and non-ASCII") << "r\u00e9s \u65e5" << kTileSet << full;
        QTest::newRow("no 05.bmp: no gap")
            << "res"
            << Files(1, 4, {6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 98, 99})
            << Column(9795, {1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}) +
                   Column(11395, {16, 17, 18, 19, 20, 98, 99});
        QTest::newRow("21.bmp after 20")
            << "res" << Files(1, 21, {98, 99})
            << Column(9795, kFirst14) + Column(11395, {15, 16, 17, 18, 19, 20, 21, 98, 99});
        QTest::newRow("third column")
            << "res" << Files(1, 30)
            << Column(9795, kFirst14) +
                   Column(11395, {15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28}) +
                   Column(12995, {29, 30});
        // Present by number, shown by name: the missing named bitmaps leave the new elements
        // with the picture they started with (element 1's: none yet).
        QTest::newRow("98 and 99 by number only")
            << "res" << QStringList{"98.bmp", "99.bmp"}
            << QStringList{"98@9795,615 bmpOBJ_WarnOpen.bmp no picture",
                           "99@9795,1230 bmpOBJ_WarnFunnel.bmp no picture"};
    }

    void layout()
    {
        QFETCH(QString, folder);
        QFETCH(QStringList, files);
        QFETCH(QStringList, entries);
        MainWindowFixture f;
        WriteFolder(f.path(folder).remove(QRegularExpression(QStringLiteral("[/\\\\]$"))), files);
        f.main().key().fnLoadKey(f.path(folder));
        QCOMPARE(Entries(f.c()), entries);
        QVERIFY(f.dialogs.messages.isEmpty());
        // Elements exist only for codes a folder had, besides element 1.
        QCOMPARE(f.c().imgKEY->Count(), entries.size() + (entries[0].startsWith("1@") ? 0 : 1));
        QCOMPARE(f.c().lblKEY->Count(), f.c().imgKEY->Count());
    }

    void laterFoldersOnlyAddAndReplace()
    {
        MainWindowFixture f;
        WriteFolder(f.path("full"), kTileSet);
        WriteFolder(f.path("few"), {"03.bmp", "07.bmp"});
        WriteFolder(f.path("open"), {"98.bmp"});
        auto& key = f.main().key();

        // Built without yielding or repainting: the key appears whole, once.
        int paints = 0;
        struct PaintCounter : QObject
        {
            int& count;
            explicit PaintCounter(int& c) : count(c) {}
            bool eventFilter(QObject*, QEvent* event) override
            {
                if (event->type() == QEvent::Paint)
                    ++count;
                return false;
            }
        } counter(paints);
        qApp->installEventFilter(&counter);
        key.fnLoadKey(f.path("full"));
        qApp->removeEventFilter(&counter);
        QCOMPARE(paints, 0);

        const QStringList once = Entries(f.c());
        key.fnLoadKey(f.path("full"));
        QCOMPARE(Entries(f.c()), once);
        QCOMPARE(f.c().imgKEY->Count(), 22);
        // The 900-twip label cuts this caption off.
        QVERIFY(static_cast<QLabel*>((*f.c().lblKEY)(99).widget())->sizeHint().width() > 60);
        QCOMPARE((*f.c().lblKEY)(99).widget()->width(), 60);

        // The smaller folder re-places its two entries; the others stay where they were.
        key.fnLoadKey(f.path("few"));
        QStringList expected = once;
        expected[2] = QStringLiteral("3@9795,615 03.bmp");
        expected[6] = QStringLiteral("7@9795,1230 07.bmp");
        QCOMPARE(Entries(f.c()), expected);

        // 98 present by number keeps the named bitmap an earlier folder gave it.
        key.fnLoadKey(f.path("open"));
        expected[20] = QStringLiteral("98@9795,615 bmpOBJ_WarnOpen.bmp");
        QCOMPARE(Entries(f.c()), expected);
        QVERIFY(f.dialogs.messages.isEmpty());
    }

    void unusableFolders_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("entries");
        const QStringList none;
        const QString badPicture =
            QStringLiteral("Error 481 (Invalid picture) in procedure fnLoadKey of Form frmMain");
        QTest::newRow("missing folder") << "missing" << none << none;
        QTest::newRow("a file") << "level.lvl" << none << none;
        QTest::newRow("no bitmaps") << "texts" << none << none;
        QTest::newRow("01.bmp is a folder") << "folders" << none << none;
        QTest::newRow("01.bmp is a pipe") << "pipes" << none << none;
        QTest::newRow("device") << "/dev/null" << none << none;
        // The build stops at the bad bitmap; the entries before it stay.
        QTest::newRow("0-byte bitmap")
            << "empty" << QStringList{badPicture} << Column(9795, {1, 2});
        QTest::newRow("text as bitmap")
            << "text" << QStringList{badPicture} << Column(9795, {1, 2});
        QTest::newRow("10000 x 10000 bitmap")
            << "huge" << QStringList{badPicture} << Column(9795, {1, 2});
    }

    void unusableFolders()
    {
        QFETCH(QString, folder);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, entries);
        MainWindowFixture f;
        WriteFolder(f.path("texts"), {"01.txt", "bmp", "level.lvl"});
        QVERIFY(testing::WriteBytes(f.path("level.lvl"), "01"));
        QDir(f.dir.path()).mkpath(QStringLiteral("folders/01.bmp"));
        QDir(f.dir.path()).mkpath(QStringLiteral("pipes"));
        QCOMPARE(::mkfifo(QFile::encodeName(f.path("pipes/01.bmp")).constData(), 0600), 0);
        // Three folders whose 03.bmp is empty, text, or a 24-bit 10000 x 10000 bitmap (sparse on
        // disk, and more than the picture loader will take).
        QByteArray huge =
            QByteArray::fromHex("424d36a3e111000000003600000028000000102700001027000001001800"
                                "0000000000a3e111");
        huge.resize(54, '\0');
        for (const auto& [name, header, size] :
             {std::tuple{"empty", QByteArray(), 0LL}, std::tuple{"text", QByteArray("01,02"), 5LL},
              std::tuple{"huge", huge, 54LL + 300000000}}) {
            WriteFolder(f.path(name), kTileSet);
            QFile bad(f.path(name) + "/03.bmp");
            QVERIFY(bad.open(QIODevice::WriteOnly | QIODevice::Truncate));
            QVERIFY(bad.write(header) == header.size() && bad.resize(size));
        }

        f.main().key().fnLoadKey(folder.startsWith('/') ? folder : f.path(folder));
        QCOMPARE(f.dialogs.texts(), messages);
        if (!messages.isEmpty())
            QCOMPARE(f.dialogs.messages[0].style, ui::MsgStyle::Plain);
        QCOMPARE(Entries(f.c()).mid(0, 2), entries);
        QVERIFY(!f.c().imgKEY->exists(4));
    }

    void emptyFolderTextIsRefused()
    {
        MainWindowFixture f;
        f.main().key().fnLoadKey(QString());
        QCOMPARE(f.dialogs.texts(),
                 QStringList{"Validation Error;\r\n\r\nCould not load graphical KEY.  Please "
                             "check that this is a valid resources folder."});
        QCOMPARE(f.dialogs.messages[0].style, ui::MsgStyle::Exclamation);
        QCOMPARE(f.dialogs.messages[0].title, QStringLiteral("Hollenby Systems - (Level Editor)"));
        QCOMPARE(f.c().imgKEY->Count(), 1);
        QCOMPARE((*f.c().lblKEY)(1).Caption(), QString());
    }
};

QTEST_MAIN(KeyTest)
#include "key_test.moc"
