#pragma once
// A vertical scroll bar. It takes the focus by Tab and by a click; the arrow keys, Page Up and
// Page Down, Home and End then move it. An arrow or page area held down repeats its step until
// the button is released, or until the bar loses the mouse: a modal box opens, or the window
// loses the focus.

#include "control.h"

#include <functional>

class QScrollBar;

namespace hollenby::ui {

class VScrollBar : public Control
{
public:
    VScrollBar(QWidget* parent, double unitsPerPixel);
    // Signed 16-bit values: anything outside -32768..32767 fails with error 6 (Overflow).
    int Min() const;
    int Max() const;
    int Value() const;
    void setMin(long long value);
    void setMax(long long value);
    void setValue(long long value);
    QScrollBar* scrollBar() const { return m_bar; }

    // Once per completed change made by the user: a click, a key or page step, or a dragged thumb
    // released at a new place. Changes made by code do not raise it.
    std::function<void()> Change;

private:
    QScrollBar* m_bar;
    int m_lastRaised = 0;
    bool m_byCode = false;
    void raiseChangeIfMoved();
};

} // namespace hollenby::ui
