// A storm of user events delivered from inside the routines' own yields, in a random order with a
// fixed seed: resizes, scroll changes, Load Graphics and Save clicks, Enter in both path boxes,
// Play, and closing the play window, at times with Play pressed at once. Nothing may crash or hang
// (a hang meets the test's timeout), and the window must afterwards draw exactly what a fresh
// window draws.

#include "testsupport.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <random>
#include <utility>

using namespace hollenby;
using testing::MainWindowFixture;

namespace {

constexpr int kEvents = 200;
// Events land inside whatever routine is yielding, nested at most this deep: shallow enough that
// they reach every routine, the play loop and a Play pressed inside another's frame included.
constexpr int kMaxDepth = 3;

QWidget* OpenPlayWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->windowTitle() == QStringLiteral("View Level (looping)"))
            return widget;
    }
    return nullptr;
}

} // namespace

class StressTest : public QObject
{
    Q_OBJECT

private slots:
    void stormFromInsideTheYields()
    {
        MainWindowFixture f;
        auto& c = f.c();
        const QString level =
            f.writeLevel(testing::RepeatLines("01,05,10,15,20,98,99,07", 200, false));

        std::mt19937 random(20261206);
        int delivered = 0;
        int depth = 0;
        int deepest = 0;
        int playsAfterClose = 0;
        bool parked = false;
        auto& form = f.main().form();
        const QSize baseSize = form.window()->size();

        // One timer at a time carries the next event; it fires from the innermost yield.
        std::function<void()> act;
        auto scheduleNext = [&] { QTimer::singleShot(0, this, [&] { act(); }); };
        act = [&] {
            if (delivered >= kEvents) {
                // A playback left running would loop for ever.
                while (QWidget* play = OpenPlayWindow())
                    play->close();
                return;
            }
            QWidget* play = OpenPlayWindow();
            // Half the events inside a routine, and all of them at the bound, wait until it
            // returns, so that events land at every depth; a playback is never waited for.
            if (depth > 0 && play == nullptr && (depth >= kMaxDepth || random() % 2 != 0)) {
                parked = true;
                return;
            }
            if (depth >= kMaxDepth) {
                ++delivered;
                play->close();
                scheduleNext();
                return;
            }
            scheduleNext();
            ++delivered;
            deepest = std::max(deepest, ++depth);
            // While a playback runs below, half the events close it.
            switch (play != nullptr && random() % 2 != 0 ? 7 : random() % 7) {
            case 0:
                form.window()->resize(baseSize.width() + static_cast<int>(random() % 60),
                                      baseSize.height() - 30 + static_cast<int>(random() % 60));
                break;
            case 1:
                if (c.VScroll1->Enabled())
                    c.VScroll1->scrollBar()->triggerAction(random() % 2
                                                               ? QAbstractSlider::SliderPageStepAdd
                                                               : QAbstractSlider::SliderToMaximum);
                break;
            case 2: // a click on a disabled button does nothing
                c.cmdRefresh->click();
                break;
            case 3:
                c.cmdSaveRefresh->click();
                break;
            case 4:
                QTest::keyClick(c.txtFileLocation->widget(), Qt::Key_Return);
                break;
            case 5:
                QTest::keyClick(c.txtResLocation->widget(), Qt::Key_Return);
                break;
            case 6:
                c.cmdPlay->click();
                break;
            case 7:
                play->close();
                if (random() % 2 != 0) {
                    ++playsAfterClose;
                    c.cmdPlay->click();
                }
                break;
            }
            --depth;
            if (std::exchange(parked, false))
                scheduleNext();
        };

        scheduleNext();
        QVERIFY(f.load(level));
        QTRY_VERIFY_WITH_TIMEOUT(delivered >= kEvents && OpenPlayWindow() == nullptr, 120000);
        std::printf("stress: %d events, nested %d deep, %d plays right after a close\n", delivered,
                    deepest, playsAfterClose);
        QCOMPARE(deepest, kMaxDepth);
        QVERIFY(playsAfterClose > 0);
        QVERIFY(c.cmdPlay->Enabled());

        // The window draws the file as a fresh one does.
        f.dialogs.clear();
        c.VScroll1->setValue(0);
        QVERIFY(f.load(level));
        MainWindowFixture fresh;
        fresh.main().form().window()->resize(form.window()->size());
        QTRY_COMPARE(fresh.c().VScroll1->Height(), c.VScroll1->Height());
        QVERIFY(fresh.load(level));
        QCOMPARE(f.visibleTiles(), fresh.visibleTiles());
        QCOMPARE(c.txtLvlRaw->Text(), fresh.c().txtLvlRaw->Text());
        QCOMPARE(c.VScroll1->Max(), fresh.c().VScroll1->Max());
    }
};

QTEST_MAIN(StressTest)
#include "stress_test.moc"
