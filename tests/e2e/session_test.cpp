// The editor in a real desktop session (session.sh: X with openbox, or Wayland under weston),
// with its real message boxes and open-file dialog, driven by Qt's own events from inside the
// process: what the window shows, where its boxes belong and land, the focus frame after a
// dialog, and a window that fits the screen it opens on.

#include "frmplay.h"
#include "level.h"
#include "playlauncher.h"
#include "qtdialogs.h"
#include "testsupport.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>

using namespace hollenby;

namespace {

bool OnX()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

// What a message box showed while it was open.
struct SeenBox
{
    QString text;
    QWidget* parent = nullptr;
    QWindow* transientParent = nullptr;
    QRect frame; // once the window manager has framed it
    bool exposed = false;
};

// Answers the next message box with Enter, as a user would, once it is on the screen; on X,
// where it is to be, once the window manager has framed it too.
struct BoxAnswerer
{
    QTimer poll;
    explicit BoxAnswerer(SeenBox& seen, bool framed = false)
    {
        QObject::connect(&poll, &QTimer::timeout, [this, &seen, framed] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || box->windowHandle() == nullptr ||
                !box->windowHandle()->isExposed())
                return;
            poll.stop();
            if (framed && OnX())
                (void)QTest::qWaitFor([box] { return box->frameGeometry() != box->geometry(); },
                                      2000);
            seen = {box->text(), box->parentWidget(), box->windowHandle()->transientParent(),
                    box->frameGeometry(), box->windowHandle()->isExposed()};
            QTest::keyClick(box, Qt::Key_Return);
        });
        poll.start(10);
    }
};

// The editor with real dialogs, shown on the session's screen.
struct Editor
{
    ui::QtDialogs dialogs;
    app::frmMain main{dialogs};
    QTemporaryDir dir;

    Editor()
    {
        main.Show();
        if (!QTest::qWaitForWindowExposed(window()))
            qWarning("main window not exposed");
        // The window manager frames the window, and a window too large is then made smaller.
        if (OnX())
            (void)QTest::qWaitFor(
                [this] { return window()->frameGeometry() != window()->geometry(); });
        QTest::qWait(100);
    }
    QWidget* window() { return main.form().window(); }
    editor::MainControls& c() { return main.controls(); }

    // Types `text` into a path box and presses Enter.
    void type(ui::TextBox& box, const QString& text)
    {
        QTest::keyClicks(box.widget(), text);
        QTest::keyClick(box.widget(), Qt::Key_Return);
    }
    void click(QWidget* widget)
    {
        QTest::mouseClick(window()->windowHandle(), Qt::LeftButton, {},
                          widget->mapTo(window(), widget->rect().center()));
    }
};

// How many of the points, in the logical pixels of the widget grabbed, show a tile's colour.
int TilesShown(const QImage& picture, const QList<QPoint>& points)
{
    int tiles = 0;
    for (const QPoint& at : points) {
        const QColor colour =
            picture.pixelColor(QPointF(at * picture.devicePixelRatio()).toPoint());
        for (const auto code : TileCodes())
            tiles += colour == testing::TileColour(code) ? 1 : 0;
    }
    return tiles;
}

} // namespace

class SessionTest : public QObject
{
    Q_OBJECT

private slots:
    void windowFitsTheScreen()
    {
        Editor e;
        const QRect area = e.window()->screen()->availableGeometry();
        const QRect frame = e.window()->frameGeometry();
        const QSize client = e.main.form().client()->size();
        // The window manager's frame and the menu bar.
        const QSize border = frame.size() - client;
        QCOMPARE(frame.size().boundedTo(area.size()), frame.size());
        // The design's client area wherever it fits.
        if (892 + border.width() <= area.width() && 687 + border.height() <= area.height())
            QCOMPARE(client, QSize(892, 687));
        else
            QVERIFY(client.width() <= 892 && client.height() < 687);
        // A Wayland window cannot place itself; on X it opens centred.
        if (OnX())
            QVERIFY((frame.center() - area.center()).manhattanLength() <= 2);
    }

    void loadDrawPlayAndClose()
    {
        Editor e;
        QVERIFY(testing::WriteTileSet(e.dir.filePath("_resources")));
        QVERIFY(testing::WriteBytes(e.dir.filePath("level.lvl"),
                                    testing::RepeatLines("01,02,03,04,05,06,07,08", 20, false)));
        SeenBox seen;
        {
            // No resources folder yet: the key cannot be built, and says so.
            const BoxAnswerer answer(seen);
            e.type(*e.c().txtFileLocation, e.dir.filePath("level.lvl"));
        }
        QVERIFY(seen.text.contains(QStringLiteral("Could not load graphical KEY.")));
        QCOMPARE(seen.parent, e.window());
        {
            const BoxAnswerer answer(seen);
            e.type(*e.c().txtResLocation, e.dir.filePath("_resources"));
        }
        QCOMPARE(seen.text, QStringLiteral("Level parsed and loaded ok"));

        // The first two rows of the render view, in the window's own contents.
        QList<QPoint> tiles;
        for (int slot = 0; slot < 16; ++slot)
            tiles << e.c().fmeRender->container()->mapTo(
                e.window(), QPoint(slot % 8 * 39 + 20, (slot / 8 + 1) * 40 + 20));
        QTRY_COMPARE(TilesShown(e.window()->grab().toImage(), tiles), 16);

        // Play, look at the play window after a few frames, and close it.
        int frames = 0;
        int playTiles = 0;
        e.main.player().PlayWindowCreated = [&](play::frmPlay& play) {
            play.AfterFrame = [&](std::int32_t) {
                if (++frames < 10)
                    return;
                QList<QPoint> cells; // the five rows the 213 px high window shows whole
                for (int slot = 0; slot < 40; ++slot)
                    cells << QPoint(slot % 8 * 40 + 20, slot / 8 * 40 + 20);
                playTiles = TilesShown(play.form().client()->grab().toImage(), cells);
                play.form().window()->close();
            };
        };
        e.click(e.c().cmdPlay->widget());
        QVERIFY(frames >= 10);
        QVERIFY2(playTiles >= 32, qPrintable(QString::number(playTiles)));
        QTRY_VERIFY(e.c().cmdPlay->Enabled());
    }

    void messageBoxesBelongToTheirWindow()
    {
        Editor e;
        if (OnX()) {
            // To one side of the screen, where a box centred on the screen would be far off.
            e.window()->move(e.window()->screen()->availableGeometry().topLeft());
            QTRY_COMPARE(e.window()->frameGeometry().topLeft(),
                         e.window()->screen()->availableGeometry().topLeft());
        }
        SeenBox seen;
        {
            const BoxAnswerer answer(seen, true);
            e.main.mnuHelp(0).trigger();
        }
        QCOMPARE(seen.text, QStringLiteral("Hollenby Systems (Level Editor)\n\nv0.6.0"));
        QCOMPARE(seen.parent, e.window());
        QCOMPARE(seen.transientParent, e.window()->windowHandle());
        if (!OnX())
            return; // the compositor places the box, and tells no client of minimising

        // Centred on the editor: across exactly, and down within a title bar's height.
        const QPoint off = seen.frame.center() - e.window()->frameGeometry().center();
        QVERIFY2(qAbs(off.x()) <= 2 && qAbs(off.y()) <= 32,
                 qPrintable(QStringLiteral("%1, %2 px off").arg(off.x()).arg(off.y())));

        // The layout runs on minimising too, and may have something to say: a box of a
        // minimised window is shown on its own, where it can be answered.
        e.c().txtFileLocation->setText(e.dir.filePath("missing.lvl"));
        e.c().txtResLocation->setText(e.dir.path());
        {
            const BoxAnswerer answer(seen);
            e.window()->showMinimized();
            QTRY_VERIFY(seen.text.startsWith(QStringLiteral("Error 53")));
        }
        QCOMPARE(seen.parent, nullptr);
        QVERIFY(seen.exposed);
    }

    void focusFrameAfterTheOpenDialogIsCancelled()
    {
        if (!OnX())
            QSKIP("weston's headless output has no seat: no window there ever has the keyboard");
        Editor e;
        QWidget* browse = e.c().cmdSelectFile->widget();
        // The button as the screen shows it, with the pointer elsewhere so that no hover shows.
        auto shown = [&e, browse] {
            QTest::mouseMove(e.window()->windowHandle(), QPoint(1, e.window()->height() - 2));
            QTest::qWait(50);
            const QRect at(browse->mapTo(e.window(), QPoint()), browse->size());
            return e.window()
                ->screen()
                ->grabWindow(e.window()->winId(), at.x(), at.y(), at.width(), at.height())
                .toImage()
                .convertToFormat(QImage::Format_RGB32);
        };
        const QImage unfocused = shown();
        QTimer::singleShot(0, [] {
            (void)QTest::qWaitFor([] {
                for (QWidget* top : QApplication::topLevelWidgets()) {
                    if (auto* dialog = qobject_cast<QFileDialog*>(top);
                        dialog != nullptr && dialog->isVisible()) {
                        dialog->reject();
                        return true;
                    }
                }
                return false;
            });
        });
        e.click(browse); // by the mouse, which draws no focus frame itself
        QTRY_VERIFY(browse->hasFocus());
        QVERIFY2(shown() != unfocused, "no focus frame on the browse button");
    }
};

QTEST_MAIN(SessionTest)
#include "session_test.moc"
