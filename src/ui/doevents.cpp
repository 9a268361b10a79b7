#include "doevents.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace hollenby::ui {

namespace {

qint64 g_intervalNs = qint64{kYieldInterval} * 1000;
qint64 g_lastServedNs = -1;

QElapsedTimer& Clock()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return clock;
}

} // namespace

void DoEventsNow()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    g_lastServedNs = Clock().nsecsElapsed();
}

void DoEvents()
{
    if (g_intervalNs > 0 && g_lastServedNs >= 0 &&
        Clock().nsecsElapsed() - g_lastServedNs < g_intervalNs)
        return;
    DoEventsNow();
}

void DoEvents(std::int64_t times)
{
    YieldBatch batch;
    for (std::int64_t done = 0; done < times; ++done) {
        if (batch.due())
            DoEvents();
    }
}

void SetYieldInterval(int microseconds)
{
    g_intervalNs = static_cast<qint64>(microseconds) * 1000;
}

int YieldInterval()
{
    return static_cast<int>(g_intervalNs / 1000);
}

} // namespace hollenby::ui
