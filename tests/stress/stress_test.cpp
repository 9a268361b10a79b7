// A storm of user events delivered from inside the routines' own yields, in a random order with a
// fixed seed: resizes, scroll changes, Load Graphics and Save clicks, Enter in both path boxes,
// starting and closing the play window. Nothing may crash or hang, every save must leave a whole
// file, and the window must afterwards draw exactly what a fresh window draws.

#include "levelrender.h"
#include "testsupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QSet>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <random>
#include <thread>

using namespace hollenby;
using testing::MainWindowFixture;

namespace {

constexpr int kEvents = 400;
// Each delivered event may start a routine that yields and so receives further events; the
// nesting is bounded so the storm cannot outgrow the stack.
constexpr int kMaxDepth = 6;
constexpr auto kWatchdog = std::chrono::seconds(240);

std::string Level(int lines)
{
    std::string text;
    for (int n = 0; n < lines; ++n) {
        if (n != 0)
            text += "\r\n";
        for (int column = 0; column < 8; ++column) {
            const int code = (n * 7 + column * 3) % 20 + 1;
            if (column != 0)
                text += ',';
            text += (code < 10 ? "0" : "") + std::to_string(code);
        }
    }
    return text;
}

// Aborts the whole process when the storm has not ended in time: a hang fails loudly.
class Watchdog
{
public:
    Watchdog()
        : m_thread([this] {
              std::unique_lock lock(m_mutex);
              if (!m_done.wait_for(lock, kWatchdog, [this] { return m_finished; })) {
                  std::fprintf(stderr, "stress: watchdog expired, the storm hangs\n");
                  std::abort();
              }
          })
    {}
    ~Watchdog()
    {
        {
            std::lock_guard lock(m_mutex);
            m_finished = true;
        }
        m_done.notify_all();
        m_thread.join();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_finished = false;
    std::thread m_thread;
};

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
        Watchdog watchdog;
        MainWindowFixture f;
        auto& c = f.c();
        const QString level = f.path(QStringLiteral("big.lvl"));
        const std::string original = Level(3000);
        QVERIFY(testing::WriteBytes(level, original));
        const QString res = f.resources();

        // Every text the file may hold: the original and whatever a save wrote.
        QSet<QByteArray> wholeFiles{QByteArray::fromStdString(original)};
        int badFiles = 0;
        auto checkFile = [&] {
            const QByteArray now = QByteArray::fromStdString(testing::ReadBytes(level));
            if (!wholeFiles.contains(now))
                ++badFiles;
        };

        std::mt19937 random(20261206);
        int delivered = 0;
        int skipped = 0;
        int depth = 0;
        int saves = 0;
        int plays = 0;
        auto& form = f.main().form();
        const QSize baseSize = form.window()->size();

        // Every event comes from a timer of its own: a timer whose handler is still running (one
        // that started a render or a playback) does not fire again until it returns.
        std::function<void()> act;
        auto scheduleNext = [&] { QTimer::singleShot(0, this, [&] { act(); }); };
        act = [&] {
            if (delivered >= kEvents) {
                // The storm is over; a playback still running would loop for ever.
                if (QWidget* play = OpenPlayWindow())
                    play->close();
                return;
            }
            scheduleNext();
            if (depth >= kMaxDepth) {
                // Only what starts nothing runs this deep; a playback down here would otherwise
                // never be closed.
                if (QWidget* play = OpenPlayWindow()) {
                    ++delivered;
                    play->close();
                } else {
                    ++skipped;
                }
                return;
            }
            ++depth;
            ++delivered;
            switch (random() % 9) {
            case 0:
                form.window()->resize(baseSize.width() + static_cast<int>(random() % 60),
                                      baseSize.height() - 30 + static_cast<int>(random() % 60));
                break;
            case 1:
                if (c.VScroll1->Enabled())
                    c.VScroll1->scrollBar()->triggerAction(random() % 2
                                                               ? QAbstractSlider::SliderPageStepAdd
                                                               : QAbstractSlider::SliderToMinimum);
                break;
            case 2:
                if (c.VScroll1->Enabled())
                    c.VScroll1->scrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
                break;
            case 3:
                if (c.cmdRefresh->Enabled())
                    c.cmdRefresh->click();
                break;
            case 4:
                if (c.cmdSaveRefresh->Enabled()) {
                    const QString text = c.txtLvlRaw->Text();
                    if (!text.isEmpty())
                        wholeFiles.insert(text.toLatin1() + "\r\n");
                    ++saves;
                    c.cmdSaveRefresh->click();
                    checkFile();
                }
                break;
            case 5:
                QTest::keyClick(c.txtFileLocation->widget(), Qt::Key_Return);
                break;
            case 6:
                QTest::keyClick(c.txtResLocation->widget(), Qt::Key_Return,
                                random() % 2 ? Qt::ShiftModifier : Qt::NoModifier);
                break;
            case 7:
                if (c.cmdPlay->Enabled()) {
                    ++plays;
                    c.cmdPlay->click();
                }
                break;
            case 8:
                if (QWidget* play = OpenPlayWindow())
                    play->close();
                break;
            }
            --depth;
        };

        QElapsedTimer clock;
        clock.start();
        f.setPaths(level, res);
        scheduleNext();
        QVERIFY(f.main().render().fnGoLevelRender(level, res));
        // The storm goes on from the event loop until every event has been delivered.
        QTRY_VERIFY_WITH_TIMEOUT(delivered >= kEvents, 200000);
        while (QWidget* play = OpenPlayWindow()) {
            play->close();
            QTest::qWait(10);
        }
        QTest::qWait(50);
        const qint64 ms = clock.elapsed();
        std::printf("stress: %d events delivered (%d deferred past the nesting bound), %d saves, "
                    "%d plays, %lld ms\n",
                    delivered, skipped, saves, plays, static_cast<long long>(ms));

        QCOMPARE(badFiles, 0);
        checkFile();
        QCOMPARE(badFiles, 0);
        QVERIFY(c.cmdPlay->Enabled());

        // The window draws the file as a fresh one does.
        f.dialogs.clear();
        c.VScroll1->setValue(0);
        QVERIFY(f.main().render().fnGoLevelRender(level, res));
        MainWindowFixture fresh;
        fresh.main().form().window()->resize(form.window()->size());
        QTRY_COMPARE(fresh.c().VScroll1->Height(), c.VScroll1->Height());
        QVERIFY(fresh.main().render().fnGoLevelRender(level, fresh.resources()));
        QCOMPARE(f.visibleTiles(), fresh.visibleTiles());
        QCOMPARE(c.txtLvlRaw->Text(), fresh.c().txtLvlRaw->Text());
        QCOMPARE(c.VScroll1->Max(), fresh.c().VScroll1->Max());
    }
};

QTEST_MAIN(StressTest)
#include "stress_test.moc"
