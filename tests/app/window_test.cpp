// The main window as a window: the open-file dialog that leaves it usable, the busy pointer over
// all of it, one layout per size change, windows centred with their frame, wrapped raw text,
// and a grid that reaches the screen tile by tile.

#include "frmplay.h"
#include "level.h"
#include "levelrender.h"
#include "playlauncher.h"
#include "qtdialogs.h"
#include "testsupport.h"

#include <QApplication>
#include <QFileDialog>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

using namespace hollenby;
using testing::MainWindowFixture;

namespace {

// Records message boxes as the tests do, but shows the real open-file dialog.
struct RealOpenDialog : ui::ScriptedDialogs
{
    ui::QtDialogs real;
    void GetOpenFileName(ui::OpenFileName& record) override { real.GetOpenFileName(record); }
};

QFileDialog* OpenFileDialog(const QFileDialog* besides)
{
    for (QWidget* top : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QFileDialog*>(top);
        if (dialog != nullptr && dialog->isVisible() && dialog != besides)
            return dialog;
    }
    return nullptr;
}

// The pointer shown over the middle of `widget`: that of the first widget there, or above it,
// that sets one.
Qt::CursorShape PointerOver(QWidget* widget)
{
    QWidget* top = widget->window();
    QWidget* at = top->childAt(widget->mapTo(top, widget->rect().center()));
    while (at != nullptr && !at->testAttribute(Qt::WA_SetCursor))
        at = at->parentWidget();
    return at != nullptr ? at->cursor().shape() : Qt::ArrowCursor;
}

// Rows of eight codes, each tile's code different from its neighbours'.
std::string Level(int rows)
{
    std::string text;
    for (int n = 0; n < rows * 8; ++n) {
        text += n == 0 ? "" : n % 8 == 0 ? "\r\n" : ",";
        text += TileCodes()[static_cast<std::size_t>(n) % 20];
    }
    return text;
}

} // namespace

class WindowTest : public QObject
{
    Q_OBJECT

private slots:
    void openDialogLeavesTheWindowUsable()
    {
        RealOpenDialog dialogs;
        app::frmMain main(dialogs);
        main.Show();
        QVERIFY(QTest::qWaitForWindowExposed(main.form().window()));
        auto& c = main.controls();
        const QString level = QDir::temp().filePath("hollenby-window-test.lvl");
        QVERIFY(testing::WriteBytes(level, "01"));
        auto clickBrowse = [&] {
            QWidget* button = c.cmdSelectFile->widget();
            QTest::mouseClick(main.form().window()->windowHandle(), Qt::LeftButton, {},
                              button->mapTo(main.form().window(), button->rect().center()));
        };
        bool secondShown = false;
        QTimer::singleShot(0, [&] {
            QFileDialog* first = OpenFileDialog(nullptr);
            QTimer::singleShot(0, [&] {
                if (QFileDialog* second = OpenFileDialog(first)) {
                    secondShown = true;
                    second->selectFile(level);
                    static_cast<QDialog*>(second)->accept(); // public only on QDialog
                }
            });
            clickBrowse(); // the main window takes the click while the first dialog is open
            c.txtFileLocation->setText(QStringLiteral("typed meanwhile"));
            if (first != nullptr)
                first->reject();
        });
        clickBrowse();
        QVERIFY(secondShown);
        // The second dialog chose a level; cancelling the first changes nothing after it.
        QCOMPARE(c.fmeStep1->Caption(), QStringLiteral("Step 1 - File (2 bytes)"));
        QCOMPARE(c.txtFileLocation->Text(), QStringLiteral("typed meanwhile"));
        QFile::remove(level);
    }

    void busyPointerCoversTheWholeWindow()
    {
        MainWindowFixture f;
        auto& c = f.c();
        const QString level = f.path("level.lvl");
        QVERIFY(testing::WriteBytes(level, Level(2)));
        QWidget* over[] = {c.txtFileLocation->widget(), c.txtResLocation->widget(),
                           c.txtLvlRaw->widget(), c.lblEstPlay->widget()};
        QList<Qt::CursorShape> during;
        QTimer::singleShot(0, [&] {
            for (QWidget* widget : over)
                during << PointerOver(widget);
        });
        QVERIFY(f.main().render().fnGoLevelRender(level, f.resources()));
        QCOMPARE(during, QList<Qt::CursorShape>(4, Qt::WaitCursor));
        QList<Qt::CursorShape> after;
        for (QWidget* widget : over)
            after << PointerOver(widget);
        QCOMPARE(after,
                 (QList{Qt::IBeamCursor, Qt::IBeamCursor, Qt::IBeamCursor, Qt::ArrowCursor}));
    }

    void oneLayoutPerSizeChange()
    {
        MainWindowFixture f;
        ui::Form& form = f.main().form();
        int layouts = 0;
        form.Resize = [&, layout = form.Resize] {
            ++layouts;
            layout();
        };
        QWidget* window = form.window();
        const std::pair<const char*, void (QWidget::*)()> changes[] = {
            {"maximised", &QWidget::showMaximized},
            {"minimised", &QWidget::showMinimized},
            {"normal", &QWidget::showNormal},
            {"minimised", &QWidget::showMinimized},
            {"normal", &QWidget::showNormal}};
        for (const auto& [state, change] : changes) {
            layouts = 0;
            (window->*change)();
            QTest::qWait(20);
            QVERIFY2(
                layouts == 1,
                qPrintable(
                    QStringLiteral("%1 layouts when %2").arg(layouts).arg(QLatin1String(state))));
        }
    }

    void playWindowOpensCentredWithItsFrame()
    {
        MainWindowFixture f;
        const QString level = f.path("level.lvl");
        QVERIFY(testing::WriteBytes(level, Level(12)));
        f.setPaths(level, f.resources());
        QRect frame;
        QRect client;
        f.main().player().PlayWindowCreated = [&](play::frmPlay& play) {
            play.AfterFrame = [&](std::int32_t) {
                frame = play.form().window()->frameGeometry();
                client = play.form().window()->geometry();
                play.form().window()->close();
            };
        };
        f.c().cmdPlay->click();
        const QRect screen = f.main().form().window()->screen()->availableGeometry();
        QVERIFY(frame.size() != client.size()); // there is a frame to count
        QVERIFY2((frame.center() - screen.center()).manhattanLength() <= 1,
                 qPrintable(QStringLiteral("frame centre %1,%2")
                                .arg(frame.center().x())
                                .arg(frame.center().y())));
    }

    void rawTextWrapsLongLines()
    {
        MainWindowFixture f;
        f.c().txtLvlRaw->setText(QString::fromStdString(Level(1)).repeated(20));
        auto* box = static_cast<QPlainTextEdit*>(f.c().txtLvlRaw->widget());
        QTest::qWait(20);
        QCOMPARE(box->horizontalScrollBar()->maximum(), 0);
        QVERIFY(box->document()->firstBlock().lineCount() > 1);
    }

    void gridFillsTileByTile()
    {
        MainWindowFixture f;
        const QString level = f.path("level.lvl");
        QVERIFY(testing::WriteBytes(level, Level(20)));
        QWidget* window = f.main().form().window();
        QWidget* frame = f.c().fmeRender->container();
        // How many tiles of the first view the screen shows, at every yield of the render.
        QList<int> shown;
        QTimer probe;
        connect(&probe, &QTimer::timeout, [&] {
            const QImage screen = window->screen()->grabWindow(window->winId()).toImage();
            int tiles = 0;
            for (int slot = 0; slot < 13 * 8; ++slot) {
                const QPoint middle(slot % 8 * 39 + 20, (slot / 8 + 1) * 40 + 20);
                tiles += screen.pixelColor(frame->mapTo(window, middle)) ==
                                 testing::TileColour(TileCodes()[slot % 20])
                             ? 1
                             : 0;
            }
            shown << tiles;
        });
        probe.start(0);
        QVERIFY(f.main().render().fnGoLevelRender(level, f.resources()));
        probe.stop();
        for (int tiles = 1; tiles <= 13 * 8; ++tiles)
            QVERIFY2(shown.contains(tiles),
                     qPrintable(QStringLiteral("never %1 tiles").arg(tiles)));
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
