// The play window: single frames, the looping offsets (also while its level goes), and its launch
// from the main window's play button.

#include "frmplay.h"
#include "level.h"
#include "playlauncher.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTest>

#include <stdexcept>

using namespace hollenby;
using testing::MainWindowFixture;
using testing::WriteBytes;

namespace {

// Row n holds eight cells of code n: a tile's colour names its row.
QString Code(int row)
{
    return QStringLiteral("%1").arg(row, 2, 10, QLatin1Char('0'));
}

QByteArray CodeRows(int count, bool finalLineEnd = false)
{
    QStringList rows;
    for (int n = 1; n <= count; ++n)
        rows << QStringList(8, Code(n)).join(QLatin1Char(','));
    return (rows.join(QStringLiteral("\r\n")) + (finalLineEnd ? "\r\n" : "")).toLatin1();
}

// The tiles of rows first..last drawn from the top down, in Shown's form.
QStringList Rows(int first, int last)
{
    QStringList tiles;
    for (int n = first, top = 0; n <= last; ++n, top += 40) {
        for (int left = 0; left < 320; left += 40)
            tiles << QStringLiteral("%1,%2=%3").arg(left).arg(top).arg(Code(n));
    }
    return tiles;
}

QList<int> Down(int from, int to)
{
    QList<int> offsets;
    for (int offset = from; offset >= to; offset -= 25)
        offsets << offset;
    return offsets;
}

} // namespace

class FrmPlayTest : public QObject
{
    Q_OBJECT

private slots:
    void frames_data()
    {
        QTest::addColumn<QByteArray>("level");
        QTest::addColumn<QString>("breakage");
        QTest::addColumn<QList<int>>("offsets");
        QTest::addColumn<QStringList>("shown");
        const QByteArray twenty = CodeRows(20);
        QTest::newRow("a final CR LF leaves the sixth slot empty")
            << CodeRows(20, true) << "" << QList{600} << Rows(16, 20);
        QTest::newRow("an offset past the last row keeps the tiles")
            << twenty << "" << QList{260, 800} << Rows(8, 13);
        QTest::newRow("twelve cells draw eight")
            << QStringList(12, "01").join(',').toLatin1() << "" << QList{0} << Rows(1, 1);
        QTest::newRow("an empty cell takes a blank slot")
            << QByteArray("01,,03") << "" << QList{0} << QStringList{"0,0=01", "40,0=", "80,0=03"};
        QTest::newRow("a close inside a frame leaves the window alone")
            << twenty << "close" << QList{260, 560} << Rows(8, 13);
        QTest::newRow("a close between two cells ends the frame there")
            << QByteArray("01,02,03") << "close at a cell" << QList{0} << QStringList{"0,0="};
        const QByteArray warnings("06,07,08,07\r\n98,98");
        QTest::newRow("a missing bitmap leaves its cells blank")
            << warnings << "07.bmp" << QList{0}
            << QStringList{"0,0=06", "40,0=", "80,0=08", "120,0=", "0,40=98", "40,40=98"};
        QTest::newRow("bitmap names in upper case")
            << warnings << "upper case" << QList{0}
            << QStringList{"0,0=06", "40,0=07", "80,0=08", "120,0=07", "0,40=98", "40,40=98"};
        // Element 0 existed before; the ones this frame made stay hidden.
        QTest::newRow("an invalid bitmap stops the frame at its first cell")
            << warnings << "bmpOBJ_WarnOpen.bmp" << QList{0} << QStringList{"0,0=06"};
    }

    void frames()
    {
        QFETCH(QByteArray, level);
        QFETCH(QString, breakage);
        QFETCH(QList<int>, offsets);
        QFETCH(QStringList, shown);
        MainWindowFixture f;
        play::frmPlay play(f.c());
        const QString file = f.writeLevel(level.toStdString());
        const QString res = f.resources();
        if (breakage == "07.bmp") {
            QVERIFY(QFile::remove(res + "/07.bmp"));
        } else if (breakage == "upper case") {
            for (const QString& name : QDir(res).entryList(QDir::Files))
                QVERIFY(QFile::rename(res + '/' + name, res + '/' + name.toUpper()));
        } else if (breakage == "bmpOBJ_WarnOpen.bmp") {
            QVERIFY(WriteBytes(res + "/bmpOBJ_WarnOpen.bmp", "not a bitmap"));
        }
        for (qsizetype i = 0; i < offsets.size(); ++i) {
            if (breakage.startsWith("close") && i == offsets.size() - 1) {
                // Closed by the last frame's first yield; or by its second, the first cell's
                // (an event posted while the queue is served waits for the next service).
                play.form().Show();
                QWidget* window = play.form().window();
                auto close = [window] {
                    QMetaObject::invokeMethod(window, &QWidget::close, Qt::QueuedConnection);
                };
                if (breakage == "close")
                    close();
                else
                    QMetaObject::invokeMethod(window, close, Qt::QueuedConnection);
            }
            play.fnShowFrameFromY(offsets[i], file, res);
        }
        QCOMPARE(testing::VisibleTiles(play.picImgs()), shown);
        QVERIFY(f.dialogs.messages.isEmpty());
    }

    void offsets_data()
    {
        QTest::addColumn<QByteArray>("level");
        QTest::addColumn<QList<int>>("offsets");
        QTest::addColumn<QString>("lowestCode"); // the lowest any frame shows; empty for none
        QTest::addColumn<int>("removedAfter");   // the frame after which the level goes; 0: never
        QTest::newRow("twenty lines wrap to 800 and 825 and never show rows 1 to 7")
            << CodeRows(20) << Down(560, 260) + QList{800, 825} + Down(800, 250) + QList{800}
            << "08" << 0;
        QTest::newRow("a final CR LF counts a line")
            << CodeRows(20, true) << Down(600, 250) + QList{840, 865, 840} << "08" << 0;
        QTest::newRow("offset 240 is drawn before the wrap")
            << CodeRows(12) << QList{240, 480, 505, 480, 455} << "07" << 0;
        // The end counted at the start holds; every frame reads the file afresh.
        QTest::newRow("a level that goes plays on and draws nothing more")
            << CodeRows(20) << Down(560, 335) << "14" << 3;
    }

    void offsets()
    {
        QFETCH(QByteArray, level);
        QFETCH(QList<int>, offsets);
        QFETCH(QString, lowestCode);
        QFETCH(int, removedAfter);
        MainWindowFixture f;
        play::frmPlay play(f.c());
        const QString file = f.writeLevel(level.toStdString());
        QList<int> played;
        QString lowest;
        bool removed = false;
        // As many frames as the row expects, the window closed from the last.
        play.AfterFrame = [&](std::int32_t offset) {
            played << offset;
            for (const QString& tile : testing::VisibleTiles(play.picImgs())) {
                const QString code = tile.section(QLatin1Char('='), 1);
                if (!code.isEmpty() && (lowest.isEmpty() || code < lowest))
                    lowest = code;
            }
            if (played.size() > offsets.size())
                throw std::runtime_error("a frame after the window closed");
            if (played.size() == removedAfter)
                removed = QFile::remove(file);
            if (played.size() == offsets.size())
                play.form().window()->close();
        };
        play.setFileFQN(file);
        play.setResFQN(f.resources());
        QCOMPARE(removed, removedAfter > 0);
        QCOMPARE(played, offsets);
        QCOMPARE(lowest, lowestCode);
        QVERIFY(f.dialogs.messages.isEmpty());
    }

    void playButton()
    {
        MainWindowFixture f;
        auto& c = f.c();
        auto buttons = [&c] {
            return QList{c.cmdPlay->Enabled(), c.cmdRefresh->Enabled(), c.cmdSaveRefresh->Enabled(),
                         c.cmdSelectFile->Enabled(), c.cmdSelectRes->Enabled()};
        };
        const QList<bool> enabled(5, true), disabled(5, false);
        QPointer<QWidget> window;
        QList<QList<bool>> states;
        QStringList lastShown;
        QSize client;
        QPoint offCentre;
        // Only the third start below plays any frames.
        f.main().player().PlayWindowCreated = [&](play::frmPlay& play) {
            window = play.form().window();
            play.AfterFrame = [&](std::int32_t) {
                states << buttons();
                client = play.form().client()->size();
                offCentre = window->frameGeometry().center() -
                            QGuiApplication::primaryScreen()->availableGeometry().center();
                if (states.size() == 3)
                    f.setPaths(f.path("missing.lvl"), f.path("none")); // no effect on the play
                if (states.size() == 6) {
                    lastShown = testing::VisibleTiles(play.picImgs());
                    play.form().window()->close();
                }
            };
        };
        const QString level = f.writeLevel(CodeRows(20).toStdString());
        f.setPaths(level, QString());
        c.cmdPlay->click();
        QCOMPARE(
            f.dialogs.texts(),
            QStringList{"Validation Error;\r\n\r\nPlease check your file and level location."});
        QCOMPARE(f.dialogs.messages[0].style, ui::MsgStyle::InformationSystemModal);
        QCOMPARE(f.dialogs.messages[0].owner, f.main().form().window());
        QVERIFY(window.isNull());

        // A level that is not there passes the check and fails in the open window.
        f.dialogs.clear();
        f.setPaths(f.path("missing.lvl"), f.resources());
        c.cmdPlay->click();
        QCOMPARE(
            f.dialogs.texts(),
            QStringList{"Error 53 (File not found) in procedure cmdPlay_Click of Form frmMain"});
        QCOMPARE(f.dialogs.messages[0].style, ui::MsgStyle::Plain);
        QVERIFY(window && window->isVisible());
        QCOMPARE(f.dialogs.messages[0].owner, window.data()); // told over the play window
        QCOMPARE(buttons(), disabled);
        window->close();
        QCOMPARE(buttons(), enabled);

        f.dialogs.clear();
        f.setPaths(level, f.resources());
        QTest::mouseClick(c.cmdPlay->widget(), Qt::LeftButton);
        QCOMPARE(states, QList<QList<bool>>(6, disabled));
        QCOMPARE(lastShown, Rows(12, 17)); // offset 435
        QCOMPARE(client, QSize(312, 213));
        // Centred before the window system adds its frame: a few pixels out at most.
        QVERIFY(offCentre.manhattanLength() <= 8);
        QCOMPARE(buttons(), enabled);
        QVERIFY(f.dialogs.messages.isEmpty());
        QVERIFY(window.isNull()); // let go once closed and done
    }

    // Closed and Play pressed at once, from inside a frame: the second window plays while the
    // first one's loop is still on the stack, so the first may go only once that loop returns.
    void playRightAfterACloseInsideAFrame()
    {
        MainWindowFixture f;
        f.writeLevel(CodeRows(20).toStdString());
        QList<QPointer<QWidget>> windows;
        bool firstKept = false;
        f.main().player().PlayWindowCreated = [&](play::frmPlay& play) {
            windows << play.form().window();
            play.AfterFrame = [&f, &play, &windows, &firstKept](std::int32_t) {
                play.form().window()->close();
                if (windows.size() == 1)
                    f.c().cmdPlay->click(); // nothing of this frame may be touched after it
                else
                    firstKept = !windows[0].isNull();
            };
        };
        f.c().cmdPlay->click();
        QCOMPARE(windows.size(), 2);
        QVERIFY(firstKept);
        QVERIFY(windows[0].isNull() && windows[1].isNull());
        QVERIFY(f.c().cmdPlay->Enabled());
        QVERIFY(f.dialogs.messages.isEmpty());
    }
};

QTEST_MAIN(FrmPlayTest)
#include "frmplay_test.moc"
