// The graphical key: which entries a folder gives and where, what stays from earlier folders,
// and what is said about folders and bitmaps it cannot use.

#include "levelkey.h"
#include "testsupport.h"

#include <QDir>
#include <QTest>
#include <QTimer>

using namespace hollenby;
using testing::MainWindowFixture;

namespace {

// The file shown for code n, which is also its caption, and the colour its bitmap is written in.
QString Shown(int n)
{
    return n == 98   ? QStringLiteral("bmpOBJ_WarnOpen.bmp")
           : n == 99 ? QStringLiteral("bmpOBJ_WarnFunnel.bmp")
                     : QStringLiteral("%1.bmp").arg(n, 2, 10, QLatin1Char('0'));
}
const auto Colour = [](int n) { return QColor(n * 2, 255 - n * 2, 128); };

QList<int> Codes(int from, int to, const QList<int>& also = {})
{
    QList<int> codes;
    for (int n = from; n <= to; ++n)
        codes << n;
    return codes + also;
}

QStringList Files(const QList<int>& codes)
{
    QStringList files;
    for (const int n : codes)
        files << Shown(n);
    return files;
}

const QStringList kTileSet = Files(Codes(1, 20, {98, 99}));

// Each bitmap in the colour of its code. "name/" makes a folder, and "name:huge" a 24-bit
// 10000 x 10000 bitmap (sparse on disk, more than the picture loader takes).
void WriteFolder(const QString& folder, const QStringList& files)
{
    QByteArray huge = QByteArray::fromHex(
        "424d36a3e111000000003600000028000000102700001027000001001800000000000000a3e111");
    huge.resize(54, '\0');
    for (const QString& file : files) {
        const QString path = folder + '/' + file.section(':', 0, 0);
        const QString kind = file.section(':', 1);
        const int n = file == Shown(98) ? 98 : file == Shown(99) ? 99 : file.left(2).toInt();
        QFile bad(path);
        QVERIFY(QDir().mkpath(file.endsWith('/') ? path : folder));
        if (kind.isEmpty() && !file.endsWith('/'))
            QVERIFY(testing::WriteBitmap(path, Colour(n)));
        else if (!kind.isEmpty())
            QVERIFY(bad.open(QIODevice::WriteOnly) && bad.write(huge) &&
                    bad.resize(54 + 300000000));
    }
}

// One column of entries, tops from 615 in steps of 615.
QStringList Column(int left, const QList<int>& codes)
{
    QStringList entries;
    for (int i = 0; i < codes.size(); ++i)
        entries << QString::asprintf("%d@%d,%d ", codes[i], left, 615 * (i + 1)) + Shown(codes[i]);
    return entries;
}

// Every placed entry as "n@left,top caption". What all entries share (the label 615 to the right,
// 900 x 255, both tagged n, the code's own bitmap at its size) shows up only when broken.
QStringList Entries(const editor::MainControls& c)
{
    QStringList entries;
    c.imgKEY->forEach([&](int n, ui::Image& image) {
        if (!image.Visible() || image.Tag().isEmpty()) // element 1 is blank until placed
            return;
        const ui::Label& label = (*c.lblKEY)(n);
        const QString tag = QString::number(n);
        QString entry =
            QString::asprintf("%d@%g,%g ", n, image.Left(), image.Top()) + label.Caption();
        if (!label.Visible() || label.Left() != image.Left() + 615 || label.Top() != image.Top() ||
            label.Width() != 900 || label.Height() != 255 || image.Tag() != tag ||
            label.Tag() != tag)
            entry += QStringLiteral(" label or tags wrong");
        if (!image.hasPicture())
            entry += QStringLiteral(" no picture");
        else if (image.Picture().toImage().pixelColor(1, 1) != Colour(n) || image.Width() != 600)
            entry += QStringLiteral(" other picture");
        entries << entry;
    });
    return entries;
}

} // namespace

class KeyTest : public QObject
{
    Q_OBJECT

private slots:
    // Each row: the files of a folder, loaded after the files of `before` when there are any; how
    // many elements the key then has (element 1 always), its placed entries, and its messages.
    void folders_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<int>("elements");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QStringList>("messages");
        const QStringList none;
        const QStringList full =
            Column(9795, Codes(1, 14)) + Column(11395, Codes(15, 20, {98, 99}));
        QStringList few = full;
        few[2] = QStringLiteral("3@9795,615 03.bmp");
        few[6] = QStringLiteral("7@9795,1230 07.bmp");
        QStringList open = full;
        open[20] = QStringLiteral("98@9795,615 bmpOBJ_WarnOpen.bmp");
        auto row = [](const char* name) -> QTestData& { return QTest::newRow(name); };
        // clang-format off
        row("non-ASCII, trailing \\") << none << "r\u00e9s \u65e5\\" << kTileSet << 22 << full << none;
        row("no 05.bmp: no gap")      << none << "res" << Files(Codes(1, 4, Codes(6, 20, {98, 99}))) << 21
                                      << Column(9795, Codes(1, 4, Codes(6, 15)))
                                             + Column(11395, Codes(16, 20, {98, 99})) << none;
        row("third column")           << none << "res" << Files(Codes(1, 30)) << 30
                                      << Column(9795, Codes(1, 14)) + Column(11395, Codes(15, 28))
                                             + Column(12995, {29, 30}) << none;
        // Present by number, shown by name: with no named bitmap an element keeps its picture.
        row("98 and 99 by number")    << none << "res" << QStringList{"98.bmp", "99.bmp"} << 3
                                      << QStringList{"98@9795,615 bmpOBJ_WarnOpen.bmp no picture",
                                                     "99@9795,1230 bmpOBJ_WarnFunnel.bmp no picture"} << none;
        // A later folder re-places its own entries; the others stay as they were.
        row("then a smaller folder")  << kTileSet << "res" << QStringList{"03.bmp", "07.bmp"} << 22 << few << none;
        row("then 98 by number")      << kTileSet << "res" << QStringList{"98.bmp"} << 22 << open << none;
        row("names in another case")  << none << "res" << QStringList{"01.BMP", "02.Bmp", "03.bmp"} << 3
                                      << Column(9795, {1, 2, 3}) << none;
        row("missing folder")         << none << "missing" << none << 1 << none << none;
        row("01.bmp is a folder")     << none << "res" << QStringList{"01.bmp/", "02.bmp"} << 2
                                      << Column(9795, {2}) << none;
        row("10000 x 10000 bitmap")   << none << "res" << QStringList{"01.bmp", "02.bmp", "03.bmp:huge", "04.bmp"}
                                      << 3 << Column(9795, {1, 2})
                                      << QStringList{"Error 481 (Invalid picture) in procedure fnLoadKey of Form frmMain"};
        // clang-format on
    }

    void folders()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, folder);
        QFETCH(QStringList, files);
        QFETCH(int, elements);
        QFETCH(QStringList, entries);
        QFETCH(QStringList, messages);
        MainWindowFixture f;
        editor::LevelKey& key = f.main().key();
        WriteFolder(f.path(QStringLiteral("before")), before);
        if (!before.isEmpty())
            key.fnLoadKey(f.path(QStringLiteral("before")));
        WriteFolder(f.path(folder.endsWith('\\') ? folder.chopped(1) : folder), files);

        // Built without yielding: the key appears whole, once.
        QObject waiting;
        bool yielded = false;
        QTimer::singleShot(0, &waiting, [&] { yielded = true; });
        key.fnLoadKey(f.path(folder));
        QVERIFY(!yielded);

        QCOMPARE(f.dialogs.texts(), messages);
        QCOMPARE(f.c().imgKEY->Count(), elements);
        QCOMPARE(f.c().lblKEY->Count(), elements);
        QCOMPARE(Entries(f.c()).mid(0, entries.size()), entries);
    }
};

QTEST_MAIN(KeyTest)
#include "key_test.moc"
