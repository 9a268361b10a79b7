#pragma once
// Yielding to the event queue inside long loops.

namespace hollenby::ui {

// Lets pending window events run (repaints, clicks, resizes), then returns. Re-entry is real: a
// handler started here may run the very routine that yielded.
//
// The routines yield once per line of files of tens of thousands of lines; serving the queue
// costs far more than the loop's own step, so events are served at most once per interval.
// Nothing waits: an event that arrives is served by the first yield after the interval.
void DoEvents();

// Serves the queue now, whatever the interval (the play loop's once-per-frame yield).
void DoEventsNow();

// Microseconds between two real services of the queue; 0 serves it at every yield (tests that
// deliver events from inside a particular yield).
void SetYieldInterval(int microseconds);
int YieldInterval();

} // namespace hollenby::ui
