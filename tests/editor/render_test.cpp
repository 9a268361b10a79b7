// The render view: loading a level, drawing its rows as tiles, scrolling, the estimate, and the
// failures each routine reports.

#include "levelrender.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

using namespace hollenby;
using testing::MainWindowFixture;
using testing::RepeatLines;
using testing::WriteBytes;

namespace {

const QString kGoFailure = QStringLiteral(") in procedure fnGoLevelRender of Form frmMain");
const QString kShowFailure = QStringLiteral(") in procedure fnShowImagesFromY of Form frmMain");

// Row n of a test level: eight distinct codes, shifted by the row so rows differ.
std::string Row(int n)
{
    std::string row;
    for (int column = 0; column < 8; ++column) {
        const int code = (n + column) % 20 + 1;
        if (column != 0)
            row += ',';
        row += (code < 10 ? "0" : "") + std::to_string(code);
    }
    return row;
}

std::string Rows(int count, bool finalLineEnd)
{
    std::string text;
    for (int n = 1; n <= count; ++n) {
        if (n != 1)
            text += "\r\n";
        text += Row(n);
    }
    if (finalLineEnd)
        text += "\r\n";
    return text;
}

// The tiles a render of `rows` from `firstRow` shows, in the fixture's "left,top=code" form.
QStringList ExpectedTiles(int firstRow, int rows)
{
    QStringList tiles;
    for (int r = 0; r < rows; ++r) {
        const std::string row = Row(firstRow + r);
        for (int column = 0; column < 8; ++column)
            tiles << QStringLiteral("%1,%2=%3")
                         .arg(column * 585)
                         .arg(600 + r * 600)
                         .arg(QString::fromStdString(
                             row.substr(static_cast<std::size_t>(column) * 3, 2)));
    }
    return tiles;
}

} // namespace

class RenderTest : public QObject
{
    Q_OBJECT

private slots:
    // Each row: a level's bytes; its resources folder, which is the fixture's tile set less a
    // bitmap ("-name"), with every name in upper case ("UPPER"), or a folder of that name under
    // the test folder (a tile set when its name ends in "/"); the view's height in twips (0: as
    // laid out); and the tiles a load shows after a longer level filled 48 slots.
    void tilesOfALoad_data()
    {
        QTest::addColumn<QByteArray>("level");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<float>("height");
        QTest::addColumn<QStringList>("tiles");
        const QByteArray thirty = QByteArray::fromStdString(Rows(30, false));
        const QByteArray three = "01,02,99";
        const QStringList all{"0,600=01", "585,600=02", "1170,600=99"};
        QTest::newRow("a view of 1200 draws one row")
            << thirty << "" << 1200.0F << ExpectedTiles(1, 1);
        QTest::newRow("a view of 1201 draws two") << thirty << "" << 1201.0F << ExpectedTiles(1, 2);
        QTest::newRow("a view of 600 stops after the first line")
            << thirty << "" << 600.0F << ExpectedTiles(1, 1);
        QTest::newRow("rows cut at eight; blank, comma-led lines and unknown codes take no place")
            << QByteArray("01,02,03,04,05,06,07,08,09,10,11,12\r\n\r\n,05\r\n 01,00,1,21,99") << ""
            << 0.0F << QStringList{"0,600=01",    "585,600=02",  "1170,600=03", "1755,600=04",
                                   "2340,600=05", "2925,600=06", "3510,600=07", "4095,600=08",
                                   "0,1200=",     "585,1200=",   "1170,1200=",  "1755,1200=",
                                   "2340,1200=99"};
        QTest::newRow("a missing bitmap leaves a blank slot")
            << three << "-02.bmp" << 0.0F << QStringList{"0,600=01", "585,600=", "1170,600=99"};
        QTest::newRow("a missing folder leaves every slot blank")
            << three << "no such folder" << 0.0F << QStringList{"0,600=", "585,600=", "1170,600="};
        // Tile sets copied from Windows.
        QTest::newRow("bitmap names in upper case") << three << "UPPER" << 0.0F << all;
        QTest::newRow("a folder of any characters, with its own trailing /")
            << three << QStringLiteral("タイル rés/") << 0.0F << all;
        QTest::newRow("an empty file draws nothing") << QByteArray() << "" << 0.0F << QStringList{};
    }

    void tilesOfALoad()
    {
        QFETCH(QByteArray, level);
        QFETCH(QString, folder);
        QFETCH(float, height);
        QFETCH(QStringList, tiles);
        MainWindowFixture f;
        QVERIFY(f.load(f.writeLevel(Rows(6, false))));
        QString res = f.resources();
        if (folder.startsWith('-')) {
            QVERIFY(QFile::remove(res + '/' + folder.mid(1)));
        } else if (folder == "UPPER") {
            for (const QString& name : QDir(res).entryList(QDir::Files))
                QVERIFY(QFile::rename(res + '/' + name, res + '/' + name.toUpper()));
        } else if (!folder.isEmpty()) {
            res = f.path(folder);
            QVERIFY(!folder.endsWith('/') || testing::WriteTileSet(res));
        }
        if (height > 0)
            f.c().VScroll1->setHeight(height);
        QVERIFY(f.main().render().fnGoLevelRender(f.writeLevel(level.toStdString()), res));
        QCOMPARE(f.visibleTiles(), tiles);
        QCOMPARE(f.c().picImgs->Count(), 48); // the surplus hidden, never unloaded
        QVERIFY(f.dialogs.messages.isEmpty());
        QCOMPARE(f.c().VScroll1->Max(), level.count("\r\n"));
        QVERIFY(f.c().VScroll1->Enabled());
    }

    void scrollingStartsAtTheChosenRow()
    {
        MainWindowFixture f;
        auto& c = f.c();
        c.VScroll1->setHeight(8145);
        QVERIFY(f.load(f.writeLevel(Rows(100, true))));
        QCOMPARE(f.visibleTiles(), ExpectedTiles(1, 13));
        QCOMPARE(c.VScroll1->Max(), 100);

        // The user moves the bar, far enough down for a row pitch a little off to show.
        auto* bar = c.VScroll1->scrollBar();
        bar->setSliderDown(true);
        bar->setSliderPosition(60);
        bar->setSliderDown(false);
        QCOMPARE(f.visibleTiles(), ExpectedTiles(60, 13));

        bar->triggerAction(QAbstractSlider::SliderToMaximum);
        QCOMPARE(f.visibleTiles(), ExpectedTiles(100, 1));
        bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(f.visibleTiles(), ExpectedTiles(99, 2));
        QCOMPARE(c.VScroll1->Max(), 100); // scrolling never changes the range
        QVERIFY(f.dialogs.messages.isEmpty());
    }

    void scrollRendersTheSavedFileNotTheEditedText()
    {
        MainWindowFixture f;
        auto& c = f.c();
        QVERIFY(f.load(f.writeLevel(Rows(5, false))));
        c.txtLvlRaw->setText(QStringLiteral("20,20,20"));
        f.main().render().VScroll1_Change();
        QCOMPARE(f.visibleTiles(), ExpectedTiles(1, 5));
        QCOMPARE(c.txtLvlRaw->Text(), QStringLiteral("20,20,20"));

        // A size change loads again from the file: unsaved edits are replaced.
        f.main().form().setHeight(f.main().form().Height() + 15);
        QTRY_COMPARE(c.txtLvlRaw->Text(), QString::fromStdString(Rows(5, false)));
    }

    void estimate_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<bool>("finalLineEnd");
        QTest::addColumn<int>("seconds");
        QTest::newRow("an empty file") << 0 << false << 0;
        QTest::newRow("100 lines: 4.5 to even") << 100 << false << 4;
        QTest::newRow("a final CR LF counts a line: 13.5 to even") << 299 << true << 14;
    }

    void estimate()
    {
        QFETCH(int, lines);
        QFETCH(bool, finalLineEnd);
        QFETCH(int, seconds);
        MainWindowFixture f;
        QVERIFY(f.load(f.writeLevel(RepeatLines("01", lines, finalLineEnd))));
        QCOMPARE(f.c().lblEstPlay->Caption(),
                 QStringLiteral("est play (sec's): %1 at max speed").arg(seconds));
    }

    void invalidBitmapStopsTheRender()
    {
        MainWindowFixture f;
        QVERIFY(WriteBytes(f.resources() + "/03.bmp", "not a picture"));
        QVERIFY(f.load(f.writeLevel("01,02,03\r\n04")));
        QCOMPARE(f.dialogs.texts(), QStringList{"Error 481 (Invalid picture" + kShowFailure});
        QCOMPARE(f.dialogs.messages[0].style, ui::MsgStyle::Plain);
        QCOMPARE(f.visibleTiles(), (QStringList{"0,600=01", "585,600=02", "1170,600="}));
        QCOMPARE(f.c().lblEstPlay->Caption(), QStringLiteral("est play (sec's):"));
        QVERIFY(f.c().VScroll1->Enabled()); // the load itself succeeded
    }

    // A level that would never end, as one that is missing (the selection test's), fails the
    // load and leaves the view as it was.
    void unreadableLevelFile()
    {
        MainWindowFixture f;
        auto& c = f.c();
        QVERIFY(f.load(f.writeLevel("01,02\r\n03")));
        const QStringList before = f.visibleTiles();
        QVERIFY(!f.load("/dev/zero"));
        QCOMPARE(f.dialogs.texts(), QStringList{"Error 75 (Path/File access error" + kGoFailure});
        QVERIFY(!c.VScroll1->Enabled());
        QCOMPARE(c.VScroll1->Max(), 0);
        QCOMPARE(c.txtLvlRaw->Text(), QString());
        QCOMPARE(f.visibleTiles(), before);

        // A scroll render of a missing file passes over "not found" and fails on its length.
        f.dialogs.clear();
        f.main().render().fnShowImagesFromY(600, f.path("missing.lvl"), f.resources());
        QCOMPARE(f.dialogs.texts(),
                 QStringList{"Error 52 (Bad file name or number" + kShowFailure});
        QCOMPARE(f.visibleTiles(), before);
    }

    void tooManyLinesOverflowTheScrollRange()
    {
        MainWindowFixture f;
        const std::string text = RepeatLines("01", 32769, false);
        QVERIFY(!f.load(f.writeLevel(text)));
        QCOMPARE(f.dialogs.texts(), QStringList{"Error 6 (Overflow" + kGoFailure});
        QCOMPARE(f.c().txtLvlRaw->Text().size(), qsizetype(text.size()));
        QVERIFY(!f.c().VScroll1->Enabled());
        QCOMPARE(f.visibleTiles(), QStringList{"0,555="}); // not redrawn
        QCOMPARE(f.main().form().mousePointer(), ui::MousePointer::Default);

        // 32 768 lines is the most that loads.
        f.dialogs.clear();
        QVERIFY(f.load(f.writeLevel(RepeatLines("01", 32768, false))));
        QCOMPARE(f.c().VScroll1->Max(), 32767);
        QVERIFY(f.dialogs.messages.isEmpty());
    }

    void queueServedAtEveryYield_data()
    {
        QTest::addColumn<QByteArray>("row");
        QTest::addColumn<int>("position"); // -1: a load
        QTest::addColumn<int>("services");
        // 20 lines, 13 rows of 8 drawn: a load yields once per line for the scroll range, and a
        // render once per line looked at, twice per tile and once per line counted.
        const QByteArray eight = "01,02,03,04,05,06,07,08";
        QTest::newRow("load") << eight << -1 << 20 + (13 + 13 * 8 * 2) + 20;
        QTest::newRow("scroll render from row 5") << eight << 5 << (17 + 13 * 8 * 2) + 20;
        QTest::newRow("rows of 12 cells: the ninth yields before the cut")
            << eight + ",09,10,11,12" << 5 << (17 + 13 * (8 * 2 + 1)) + 20;
    }

    // Every yield serves the queue while the interval is 0, as the fixture sets it.
    void queueServedAtEveryYield()
    {
        QFETCH(QByteArray, row);
        QFETCH(int, position);
        QFETCH(int, services);
        MainWindowFixture f;
        const QString level = f.writeLevel(RepeatLines(row.toStdString(), 20, false));
        if (position >= 0) {
            QVERIFY(f.load(level));
            f.c().VScroll1->setValue(position);
        }
        int served = 0;
        QTimer probe;
        connect(&probe, &QTimer::timeout, [&served] { ++served; });
        probe.start(0);
        if (position < 0)
            QVERIFY(f.load(level));
        else
            f.main().render().VScroll1_Change();
        probe.stop();
        QCOMPARE(served, services);
    }

    void resizeInsideARenderFinishes()
    {
        MainWindowFixture f;
        auto& c = f.c();
        const QString level = f.writeLevel(Rows(200, true));
        // Resizes queued now are served by the render's own yields, each starting a load inside it.
        auto& form = f.main().form();
        for (int i = 0; i < 3; ++i) {
            form.window()->resize(form.window()->width() + 1, form.window()->height() + 1);
            QVERIFY(f.load(level));
        }
        QTRY_VERIFY(!c.txtLvlRaw->Text().isEmpty());
        QVERIFY(f.load(level));
        const int rows = static_cast<int>((c.VScroll1->Height() - 1) / 600);
        QCOMPARE(f.visibleTiles(), ExpectedTiles(1, rows));
        QVERIFY(f.dialogs.messages.isEmpty());
    }
};

QTEST_MAIN(RenderTest)
#include "render_test.moc"
