// The graphical key: which entries a folder gives, where they go, what stays from earlier
// folders, and what is said about folders and bitmaps it cannot use.

#include "levelkey.h"
#include "testsupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTest>

#include <sys/stat.h>

using namespace hollenby;
using testing::MainWindowFixture;
using testing::WriteBitmap;
using testing::WriteBytes;

namespace {

QString CodeName(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

// The file shown for code n and the caption it gets.
QString Shown(int n)
{
    if (n == 98)
        return QStringLiteral("bmpOBJ_WarnOpen.bmp");
    if (n == 99)
        return QStringLiteral("bmpOBJ_WarnFunnel.bmp");
    return CodeName(n) + QStringLiteral(".bmp");
}

QColor Colour(int n)
{
    return QColor(n * 2, 255 - n * 2, 128);
}

QStringList Files(int from, int to)
{
    QStringList files;
    for (int n = from; n <= to; ++n)
        files << Shown(n);
    return files;
}

QStringList TileSet()
{
    return Files(1, 20) << Shown(98) << Shown(99);
}

// Writes each named bitmap in the colour of the code it stands for.
void WriteFolder(const QString& folder, const QStringList& files)
{
    QDir().mkpath(folder);
    for (const QString& file : files) {
        const int n = file == Shown(98) ? 98 : file == Shown(99) ? 99 : file.left(2).toInt();
        QVERIFY(WriteBitmap(folder + QLatin1Char('/') + file, Colour(n)));
    }
}

// One column of entries, top to bottom from 615 in steps of 615.
QStringList Column(int left, std::initializer_list<int> codes)
{
    QStringList entries;
    int top = 615;
    for (const int n : codes) {
        entries << QStringLiteral("%1@%2,%3 %4").arg(n).arg(left).arg(top).arg(Shown(n));
        top += 615;
    }
    return entries;
}

// Every visible entry as "n@left,top caption". What every entry must share (its label beside it,
// 900 wide, both tagged n, its own bitmap at the bitmap's size) is added to the text only when
// it does not hold, so that a comparison shows it.
QStringList Entries(const editor::MainControls& c)
{
    QStringList entries;
    c.imgKEY->forEach([&](int n, ui::Image& image) {
        // Element 1 is visible but blank from the start: no entry until the key tags it.
        if (!image.Visible() || image.Tag().isEmpty())
            return;
        const ui::Label& label = (*c.lblKEY)(n);
        QString entry = QStringLiteral("%1@%2,%3 %4")
                            .arg(n)
                            .arg(image.Left())
                            .arg(image.Top())
                            .arg(label.Caption());
        if (!label.Visible() || label.Left() != image.Left() + 615 || label.Top() != image.Top())
            entry += QStringLiteral(" label misplaced");
        if (label.Width() != 900 || label.Height() != 255)
            entry += QStringLiteral(" label size");
        if (image.Tag() != QString::number(n) || label.Tag() != QString::number(n))
            entry += QStringLiteral(" tags");
        if (!image.hasPicture())
            entry += QStringLiteral(" no picture");
        else if (image.Picture().toImage().pixelColor(1, 1) != Colour(n) || image.Width() != 600 ||
                 image.Height() != 600)
            entry += QStringLiteral(" other picture");
        entries << entry;
    });
    return entries;
}

const QString kBadPicture =
    QStringLiteral("Error 481 (Invalid picture) in procedure fnLoadKey of Form frmMain");

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
        const QStringList full = Column(9795, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}) +
                                 Column(11395, {15, 16, 17, 18, 19, 20, 98, 99});
        QTest::newRow("tile set: 14 a column") << "res" << TileSet() << full;
        QTest::newRow("trailing slash") << "res/" << TileSet() << full;
        QTest::newRow("trailing backslash") << "res\\" << TileSet() << full;
        QTest::newRow("spaces and non-ASCII") << "r\u00e9s \u65e5" << TileSet() << full;
        QStringList without5 = TileSet();
        without5.removeOne(Shown(5));
        QTest::newRow("no 05.bmp: no gap")
            << "res" << without5
            << Column(9795, {1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}) +
                   Column(11395, {16, 17, 18, 19, 20, 98, 99});
        QTest::newRow("21.bmp after 20")
            << "res" << (TileSet() << Shown(21))
            << Column(9795, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}) +
                   Column(11395, {15, 16, 17, 18, 19, 20, 21, 98, 99});
        QTest::newRow("third column")
            << "res" << Files(1, 30)
            << Column(9795, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}) +
                   Column(11395, {15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28}) +
                   Column(12995, {29, 30});
        // The numbered files make 98 and 99 present, but only the named ones are shown: new
        // elements keep the picture they started with (element 1 has none yet).
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
        QString written = f.path(folder);
        while (written.endsWith(QLatin1Char('/')) || written.endsWith(QLatin1Char('\\')))
            written.chop(1);
        WriteFolder(written, files);
        f.main().key().fnLoadKey(f.path(folder));
        QCOMPARE(Entries(f.c()), entries);
        QVERIFY(f.dialogs.messages.isEmpty());
        // Elements are made only for codes the folder has (element 1 exists from the start).
        const bool hasOne = entries.first().startsWith(QLatin1String("1@"));
        QCOMPARE(f.c().imgKEY->Count(), entries.size() + (hasOne ? 0 : 1));
        QCOMPARE(f.c().lblKEY->Count(), entries.size() + (hasOne ? 0 : 1));
    }

    void laterFoldersOnlyAddAndReplace()
    {
        MainWindowFixture f;
        WriteFolder(f.path("full"), TileSet());
        WriteFolder(f.path("few"), {"03.bmp", "07.bmp"});
        WriteFolder(f.path("open"), {"98.bmp"});
        auto& key = f.main().key();

        key.fnLoadKey(f.path("full"));
        const QStringList once = Entries(f.c());
        key.fnLoadKey(f.path("full"));
        QCOMPARE(Entries(f.c()), once);
        QCOMPARE(f.c().imgKEY->Count(), 22);

        // The smaller folder re-places its two entries; the rest stay where they were.
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

    void unusableFoldersLeaveTheKey_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("missing folder") << "missing";
        QTest::newRow("a file") << "level.lvl";
        QTest::newRow("no bitmaps") << "texts";
        QTest::newRow("01.bmp is a folder") << "folders";
        QTest::newRow("01.bmp is a pipe") << "pipes";
        QTest::newRow("device") << "/dev/null";
    }

    void unusableFoldersLeaveTheKey()
    {
        QFETCH(QString, folder);
        MainWindowFixture f;
        WriteFolder(f.path("full"), TileSet());
        QVERIFY(WriteBytes(f.path("level.lvl"), "01"));
        QDir(f.dir.path()).mkpath(QStringLiteral("texts"));
        QVERIFY(WriteBytes(f.path("texts/01.txt"), "01"));
        QVERIFY(WriteBytes(f.path("texts/bmp"), "01"));
        QDir(f.dir.path()).mkpath(QStringLiteral("folders/01.bmp"));
        QDir(f.dir.path()).mkpath(QStringLiteral("pipes"));
        QCOMPARE(::mkfifo(QFile::encodeName(f.path("pipes/01.bmp")).constData(), 0600), 0);

        f.main().key().fnLoadKey(f.path("full"));
        const QStringList before = Entries(f.c());
        f.main().key().fnLoadKey(folder.startsWith(QLatin1Char('/')) ? folder : f.path(folder));
        QCOMPARE(Entries(f.c()), before);
        QVERIFY(f.dialogs.messages.isEmpty());
    }

    void badBitmapStopsTheBuild_data()
    {
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<qint64>("size");
        QTest::newRow("0 bytes") << QByteArray() << 0LL;
        QTest::newRow("text") << QByteArray("01,02,03\r\n") << 10LL;
        // A genuine 24-bit 10000 x 10000 bitmap, sparse on disk; too large to decode here.
        QByteArray huge(54, '\0');
        const auto put = [&huge](int at, quint32 value, int bytes) {
            for (int i = 0; i < bytes; ++i)
                huge[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
        };
        put(0, 0x4D42, 2);
        put(2, 54 + 300000000, 4);
        put(10, 54, 4);
        put(14, 40, 4);
        put(18, 10000, 4);
        put(22, 10000, 4);
        put(26, 1, 2);
        put(28, 24, 2);
        put(34, 300000000, 4);
        QTest::newRow("10000 x 10000") << huge << 54LL + 300000000;
    }

    void badBitmapStopsTheBuild()
    {
        QFETCH(QByteArray, header);
        QFETCH(qint64, size);
        MainWindowFixture f;
        WriteFolder(f.path("res"), TileSet());
        QFile bad(f.path("res/03.bmp"));
        QVERIFY(bad.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(bad.write(header), header.size());
        QVERIFY(bad.resize(size));
        bad.close();

        f.main().key().fnLoadKey(f.path("res"));
        QCOMPARE(f.dialogs.texts(), QStringList{kBadPicture});
        QCOMPARE(f.dialogs.messages[0].style, ui::MsgStyle::Plain);
        QCOMPARE(Entries(f.c()).mid(0, 2), Column(9795, {1, 2}));
        QVERIFY(!f.c().imgKEY->exists(4));
    }

    void emptyFolderTextIsRefused()
    {
        MainWindowFixture f;
        f.main().key().fnLoadKey(QString());
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages[0].text,
                 QStringLiteral("Validation Error;\r\n\r\nCould not load graphical KEY.  Please "
                                "check that this is a valid resources folder."));
        QCOMPARE(f.dialogs.messages[0].style, ui::MsgStyle::Exclamation);
        QCOMPARE(f.dialogs.messages[0].title, QStringLiteral("Hollenby Systems - (Level Editor)"));
        // Nothing touched: element 1 is still the blank one at its design place.
        QCOMPARE(f.c().imgKEY->Count(), 1);
        QCOMPARE((*f.c().imgKEY)(1).Left(), 9870.0F);
        QCOMPARE((*f.c().lblKEY)(1).Caption(), QString());
    }

    void buildsWithoutPaintingAndClipsLongNames()
    {
        MainWindowFixture f;
        WriteFolder(f.path("res"), TileSet());
        int paints = 0;
        struct PaintCounter : QObject
        {
            int& count;
            explicit PaintCounter(int& c) : count(c) {}
            bool eventFilter(QObject*, QEvent* event) override
            {
                count += event->type() == QEvent::Paint;
                return false;
            }
        } counter(paints);
        qApp->installEventFilter(&counter);
        f.main().key().fnLoadKey(f.path("res"));
        qApp->removeEventFilter(&counter);
        QCOMPARE(paints, 0);

        auto* funnel = static_cast<QLabel*>((*f.c().lblKEY)(99).widget());
        QCOMPARE(funnel->width(), 60);
        QVERIFY(funnel->sizeHint().width() > funnel->width());
    }
};

QTEST_MAIN(KeyTest)
#include "key_test.moc"
