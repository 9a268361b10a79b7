#pragma once
// Yielding to the event queue inside long loops.

#include <cstdint>

namespace hollenby::ui {

// Lets pending window events run (repaints, clicks, resizes), then returns. Re-entry is real: a
// handler started here may run the very routine that yielded.
//
// The routines yield once per line of files of tens of thousands of lines; serving the queue
// costs far more than the loop's own step, so events are served at most once per interval.
// Nothing waits: an event that arrives is served by the first yield after the interval. What
// was painted since the last service reaches the screen at the next one.
void DoEvents();

// `times` yields in a row with nothing between them, as a loop that only yields once per line.
// The queue is served as often as that loop would serve it, without asking the clock each time.
void DoEvents(std::int64_t times);

// Serves the queue now, whatever the interval (the play loop's once-per-frame yield).
void DoEventsNow();

// Microseconds between two real services of the queue as the program runs: no screen shows
// states faster than this, and a render's tiles, about 30 us each, reach it a few at a time. A
// tile that takes longer (a slow bitmap, a network share) makes every yield due, and the view
// fills in tile by tile.
constexpr int kYieldInterval = 2000;

// Changes the interval; 0 serves the queue at every yield (tests that deliver events from inside
// a particular yield).
void SetYieldInterval(int microseconds);
int YieldInterval();

// For a loop whose steps mostly take a few nanoseconds (a line passed over), less than asking
// the clock whether the queue is due: due() is true at every kSteps-th step, and at every step
// when every yield serves the queue. A step that does real work yields on its own.
class YieldBatch
{
public:
    bool due()
    {
        if (++m_steps < kSteps && YieldInterval() > 0)
            return false;
        m_steps = 0;
        return true;
    }

private:
    static constexpr int kSteps = 32;
    int m_steps = kSteps - 1; // the first step yields
};

} // namespace hollenby::ui
