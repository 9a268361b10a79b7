// The main window on a desktop: keys and clicks delivered through the window as the user's are,
// the open-file dialog that leaves the window usable, the busy pointer, one layout per size
// change, and a grid that reaches the screen tile by tile.

#include "doevents.h"
#include "level.h"
#include "levelrender.h"
#include "qtdialogs.h"
#include "testsupport.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <thread>
#include <utility>

using namespace hollenby;

namespace {
bool slowPictures = false;
} // namespace

// The bitmap loader of the render, linked in place of ui::LoadPicture (see CMakeLists.txt): it
// takes 4 ms a picture while slowPictures is set, as from a slow network share.
QImage SlowLoadPicture(const QString& path) asm("__wrap__ZN8hollenby2ui11LoadPictureERK7QString");
QImage RealLoadPicture(const QString& path) asm("__real__ZN8hollenby2ui11LoadPictureERK7QString");

QImage SlowLoadPicture(const QString& path)
{
    if (slowPictures)
        std::this_thread::sleep_for(std::chrono::milliseconds(4));
    return RealLoadPicture(path);
}

namespace {

// The main window, active, with keys and clicks that go where the window system sends them.
struct Desk : testing::MainWindowFixture
{
    Desk()
    {
        QApplication::setActiveWindow(window());
        (void)QTest::qWaitForWindowActive(window());
    }
    QWidget* window() { return main().form().window(); }
    QImage grab() { return window()->screen()->grabWindow(window()->winId()).toImage(); }
    // How many slots of the render view's first 13 rows show the colour of code 01.
    int tilesOnScreen()
    {
        const QImage screen = grab();
        QWidget* frame = c().fmeRender->container();
        int tiles = 0;
        for (int slot = 0; slot < 13 * 8; ++slot) {
            const QPoint middle(slot % 8 * 39 + 20, (slot / 8 + 1) * 40 + 20);
            tiles += screen.pixelColor(frame->mapTo(window(), middle)) == testing::TileColour("01")
                         ? 1
                         : 0;
        }
        return tiles;
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(window()->windowHandle(), key, modifiers);
    }
    void click(QWidget* widget, QPoint at)
    {
        QTest::mouseClick(window()->windowHandle(), Qt::LeftButton, {},
                          widget->mapTo(window(), at));
    }
    QString level(int rows) // column n shows code n
    {
        return writeLevel(testing::RepeatLines("01,02,03,04,05,06,07,08", rows, false));
    }
};

// Records message boxes, but shows the real open-file dialog.
struct RealOpenDialog : ui::ScriptedDialogs
{
    void GetOpenFileName(ui::OpenFileName& record) override
    {
        ui::QtDialogs().GetOpenFileName(record);
    }
};

QFileDialog* OpenFileDialog(const QFileDialog* besides)
{
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QFileDialog*>(top);
            dialog && dialog->isVisible() && dialog != besides)
            return dialog;
    }
    return nullptr;
}

// The pointer over the middle of `widget`: that of the first widget there or above that sets one.
Qt::CursorShape PointerOver(QWidget* widget)
{
    QWidget* at =
        widget->window()->childAt(widget->mapTo(widget->window(), widget->rect().center()));
    while (at != nullptr && !at->testAttribute(Qt::WA_SetCursor))
        at = at->parentWidget();
    return at != nullptr ? at->cursor().shape() : Qt::ArrowCursor;
}

} // namespace

class DesktopTest : public QObject
{
    Q_OBJECT

private slots:
    void tabWalksTheWholeCycleBothWays()
    {
        Desk f;
        auto& c = f.c();
        const QList<QWidget*> cycle{c.txtFileLocation->widget(), c.cmdSelectFile->widget(),
                                    c.txtResLocation->widget(),  c.cmdSelectRes->widget(),
                                    c.cmdRefresh->widget(),      c.cmdPlay->widget(),
                                    c.cmdSaveRefresh->widget(),  c.VScroll1->widget(),
                                    c.txtLvlRaw->widget(),       c.txtFileLocation->widget()};
        for (qsizetype i = 1; i < cycle.size(); ++i) {
            f.key(Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), cycle[i]);
        }
        for (qsizetype i = cycle.size() - 2; i >= 0; --i) {
            f.key(Qt::Key_Tab, Qt::ShiftModifier);
            QCOMPARE(QApplication::focusWidget(), cycle[i]);
        }
        QCOMPARE(c.txtLvlRaw->Text(), QString()); // no tab typed into the level
    }

    void scrollBarTakesFocusAndKeys()
    {
        Desk f;
        auto& c = f.c();
        QVERIFY(f.load(f.level(40)));
        int changes = 0;
        c.VScroll1->Change = [&] {
            ++changes;
            f.main().render().VScroll1_Change();
        };
        // A click below the thumb pages down once, and leaves the focus on the bar.
        f.click(c.VScroll1->widget(), QPoint(8, c.VScroll1->widget()->height() / 2));
        QCOMPARE(QApplication::focusWidget(), c.VScroll1->widget());
        QCOMPARE(changes, 1);
        const std::pair<Qt::Key, int> steps[] = {{Qt::Key_Down, 2}, {Qt::Key_PageDown, 3},
                                                 {Qt::Key_End, 39}, {Qt::Key_Up, 38},
                                                 {Qt::Key_Home, 0}, {Qt::Key_Up, 0}};
        for (int moves = 1; const auto& [key, value] : steps) {
            moves += c.VScroll1->Value() != value ? 1 : 0;
            f.key(key);
            QCOMPARE(c.VScroll1->Value(), value);
            QCOMPARE(changes, moves);
        }
    }

    void focusStaysWithTheScrollBarThroughALoad_data()
    {
        QTest::addColumn<bool>("clickRawText");
        QTest::newRow("keys typed during the load reach no control") << false;
        QTest::newRow("a click during the load puts the focus there") << true;
    }

    // A resize reloads the level, and the load disables the scroll bar that has the focus.
    void focusStaysWithTheScrollBarThroughALoad()
    {
        QFETCH(bool, clickRawText);
        Desk f;
        auto& c = f.c();
        QVERIFY(f.load(f.level(40)));
        const QString text = c.txtLvlRaw->Text();
        c.cmdSaveRefresh->widget()->setFocus();
        f.key(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), c.VScroll1->widget());

        bool typed = false;
        QTimer typist;
        connect(&typist, &QTimer::timeout, [&] {
            if (typed || c.VScroll1->Enabled())
                return;
            typed = true;
            if (clickRawText)
                f.click(c.txtLvlRaw->widget(), QPoint(20, 20));
            for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Q})
                f.key(key);
        });
        typist.start(0);
        f.main().form().setHeight(f.main().form().Height() + 150);
        QTRY_VERIFY(typed && c.VScroll1->Enabled());
        typist.stop();
        QCOMPARE(c.VScroll1->Value(), 0);
        if (clickRawText) {
            QCOMPARE(QApplication::focusWidget(), c.txtLvlRaw->widget());
            QVERIFY(c.txtLvlRaw->Text() != text);
            return;
        }
        QCOMPARE(c.txtLvlRaw->Text(), text);
        QCOMPARE(QApplication::focusWidget(), c.VScroll1->widget());
        f.key(Qt::Key_Down);
        QCOMPARE(c.VScroll1->Value(), 1);
    }

    void heldArrowStopsWhenTheWindowLosesTheMouse_data()
    {
        QTest::addColumn<bool>("messageBox");
        QTest::newRow("the render shows a modal box") << true;
        QTest::newRow("another window is activated") << false;
    }

    // Past the repeat's first delay, a held arrow would have stepped several times.
    void heldArrowStopsWhenTheWindowLosesTheMouse()
    {
        QFETCH(bool, messageBox);
        Desk f;
        auto& c = f.c();
        QVERIFY(f.load(f.level(40)));
        QWidget other;
        bool boxShown = false;
        if (messageBox) {
            QVERIFY(testing::WriteBytes(f.resources() + "/01.bmp", "not a picture"));
            f.dialogs.onMessage = [&](const ui::RecordedMessage&) {
                if (std::exchange(boxShown, true))
                    return;
                QDialog box(f.window());
                QTimer::singleShot(650, &box, &QDialog::accept);
                box.exec();
            };
        }
        QWidget* bar = c.VScroll1->widget();
        const QPoint downArrow =
            bar->mapTo(f.window(), QPoint(bar->width() / 2, bar->height() - 4));
        QTest::mousePress(f.window()->windowHandle(), Qt::LeftButton, {}, downArrow);
        QCOMPARE(c.VScroll1->Value(), 1);
        if (!messageBox) {
            other.show();
            QApplication::setActiveWindow(&other);
        }
        QTest::qWait(messageBox ? 200 : 650);
        QCOMPARE(c.VScroll1->Value(), 1);
        QCOMPARE(f.dialogs.messages.size(), messageBox ? 1 : 0);
        QTest::mouseRelease(f.window()->windowHandle(), Qt::LeftButton, {}, downArrow);
    }

    void buttonsAnswerEnterSpaceAndTheirAccessKey()
    {
        Desk f;
        f.c().cmdRefresh->widget()->setFocus();
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space})
            f.key(key);
        f.c().txtFileLocation->setFocus();
        f.key(Qt::Key_L, Qt::AltModifier); // "&Load Graphics", pressed visibly before it clicks
        // "Load Graphics" with nothing to load says so, once for each key.
        QTRY_COMPARE(f.dialogs.texts(),
                     QStringList(4, "Validation Error; missing level or resources folder"));
    }

    // On a screen grab: the warning's "*" over the edge of the button it overlaps, and the path
    // boxes whole beneath their labels, which are transparent and let clicks through.
    void laterControlsLieOnTopOfEarlierOnes()
    {
        Desk f;
        auto& c = f.c();
        c.cmdRefresh->widget()->setFocus(); // no text cursor in the path boxes
        QTest::qWait(20);
        const QImage screen = f.grab();
        QWidget* button = c.cmdSaveRefresh->widget();
        QWidget* warning = c.lblSAR_Warn->widget();
        const QPoint warningAt = warning->mapTo(f.window(), QPoint());
        const int overlap =
            button->mapTo(f.window(), QPoint(button->width(), 0)).x() - warningAt.x();
        QCOMPARE(overlap, 3);
        int red = 0;
        for (int x = 0; x < overlap; ++x) {
            for (int y = 0; y < warning->height(); ++y) {
                const QColor pixel = screen.pixelColor(warningAt + QPoint(x, y));
                red += pixel.red() > 200 && pixel.green() < 100 && pixel.blue() < 100 ? 1 : 0;
            }
        }
        QVERIFY2(red > 0, "the star is hidden under the button");

        for (ui::TextBox* box : {c.txtFileLocation.get(), c.txtResLocation.get()}) {
            const QRect inside(box->widget()->mapTo(f.window(), QPoint(3, 3)),
                               box->widget()->size() - QSize(6, 6));
            for (int x = inside.left(); x <= inside.right(); ++x) {
                for (int y = inside.top(); y <= inside.bottom(); ++y)
                    QCOMPARE(screen.pixelColor(x, y), QColor(0xC0, 0xFF, 0xC0));
            }
            c.txtLvlRaw->widget()->setFocus();
            f.click(box->widget(), QPoint(10, box->widget()->height() / 2));
            f.key(Qt::Key_A);
            QCOMPARE(box->Text(), QStringLiteral("a"));
        }
    }

    void openDialogLeavesTheWindowUsable()
    {
        RealOpenDialog dialogs;
        app::frmMain main(dialogs);
        main.Show();
        QVERIFY(QTest::qWaitForWindowExposed(main.form().window()));
        auto& c = main.controls();
        QTemporaryDir dir;
        QVERIFY(testing::WriteBytes(dir.filePath("level.lvl"), "01"));
        auto clickBrowse = [&] {
            QTest::mouseClick(main.form().window()->windowHandle(), Qt::LeftButton, {},
                              c.cmdSelectFile->widget()->mapTo(main.form().window(), QPoint(8, 8)));
        };
        bool secondShown = false;
        QTimer::singleShot(0, [&] {
            QFileDialog* first = OpenFileDialog(nullptr);
            QTimer::singleShot(0, [&] {
                if (QDialog* second = OpenFileDialog(first)) {
                    secondShown = true;
                    static_cast<QFileDialog*>(second)->selectFile(dir.filePath("level.lvl"));
                    second->accept();
                }
            });
            clickBrowse(); // the main window takes a click while the first dialog is open
            c.txtFileLocation->setText(QStringLiteral("typed meanwhile"));
            if (QDialog* asDialog = first)
                asDialog->reject();
        });
        clickBrowse();
        QVERIFY(secondShown);
        // The second dialog chose a level; cancelling the first changed nothing after it.
        QCOMPARE(c.fmeStep1->Caption(), QStringLiteral("Step 1 - File (2 bytes)"));
        QCOMPARE(c.txtFileLocation->Text(), QStringLiteral("typed meanwhile"));
    }

    void busyPointerCoversTheWholeWindow()
    {
        Desk f;
        auto& c = f.c();
        QWidget* over[] = {c.txtFileLocation->widget(), c.txtResLocation->widget(),
                           c.txtLvlRaw->widget(), c.lblEstPlay->widget()};
        QList<Qt::CursorShape> during;
        QTimer::singleShot(0, [&] {
            for (QWidget* widget : over)
                during << PointerOver(widget);
        });
        QVERIFY(f.load(f.level(2)));
        QCOMPARE(during, QList<Qt::CursorShape>(4, Qt::WaitCursor));
        QList<Qt::CursorShape> after;
        for (QWidget* widget : over)
            after << PointerOver(widget);
        QCOMPARE(after,
                 (QList{Qt::IBeamCursor, Qt::IBeamCursor, Qt::IBeamCursor, Qt::ArrowCursor}));
    }

    void oneLayoutPerSizeChange()
    {
        Desk f;
        ui::Form& form = f.main().form();
        int layouts = 0;
        form.Resize = [&, layout = form.Resize] {
            ++layouts;
            layout();
        };
        for (const auto change :
             {&QWidget::showMaximized, &QWidget::showMinimized, &QWidget::showNormal,
              &QWidget::showMinimized, &QWidget::showNormal}) {
            layouts = 0;
            (f.window()->*change)();
            QTest::qWait(20);
            QCOMPARE(layouts, 1);
        }
    }

    void gridReachesTheScreenTileByTile_data()
    {
        QTest::addColumn<bool>("slowTiles");
        QTest::newRow("tiles slower than the yield interval: one state per tile") << true;
        QTest::newRow("fast tiles: few states, the whole view at the end") << false;
    }

    // With the yield interval the program runs with.
    void gridReachesTheScreenTileByTile()
    {
        QFETCH(bool, slowTiles);
        Desk f;
        ui::SetYieldInterval(ui::kYieldInterval);
        const QString level =
            f.writeLevel(testing::RepeatLines("01,01,01,01,01,01,01,01", 20, false));
        slowPictures = slowTiles;
        // How many tiles of the first view the screen shows, at every service of the queue.
        QList<int> shown;
        QTimer probe;
        connect(&probe, &QTimer::timeout, [&] { shown << f.tilesOnScreen(); });
        probe.start(0);
        const bool loaded = f.load(level);
        slowPictures = false;
        probe.stop();
        QVERIFY(loaded);
        if (slowTiles) {
            for (int tiles = 1; tiles <= 13 * 8; ++tiles)
                QVERIFY2(shown.contains(tiles),
                         qPrintable(QStringLiteral("never %1 tiles").arg(tiles)));
            return;
        }
        QVERIFY2(shown.size() < 13 * 8 / 2,
                 qPrintable(QStringLiteral("the queue served %1 times").arg(shown.size())));
        QCoreApplication::processEvents(); // what the event loop does next: paint
        QCOMPARE(f.tilesOnScreen(), 13 * 8);
    }
};

QTEST_MAIN(DesktopTest)
#include "desktop_test.moc"
