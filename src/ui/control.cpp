#include "control.h"

#include <QWidget>

#include <cmath>

namespace hollenby::ui {

QColor ColorFromBgr(unsigned int bgr)
{
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

Control::Control(QWidget* widget, double unitsPerPixel)
    : m_widget(widget), m_unitsPerPixel(unitsPerPixel)
{}

int Control::toPixels(float units) const
{
    return static_cast<int>(std::lround(static_cast<double>(units) / m_unitsPerPixel));
}

float Control::fromPixels(int pixels) const
{
    return static_cast<float>(pixels * m_unitsPerPixel);
}

void Control::applyGeometry()
{
    // Negative sizes are what the layout rule computes for a window smaller than it was made
    // for; they show as nothing.
    m_widget->setGeometry(toPixels(m_left), toPixels(m_top), std::max(0, toPixels(m_width)),
                          std::max(0, toPixels(m_height)));
}

void Control::setLeft(float left)
{
    m_left = left;
    m_widget->move(toPixels(m_left), toPixels(m_top));
}

void Control::setTop(float top)
{
    m_top = top;
    m_widget->move(toPixels(m_left), toPixels(m_top));
}

void Control::setWidth(float width)
{
    m_width = width;
    applyGeometry();
}

void Control::setHeight(float height)
{
    m_height = height;
    applyGeometry();
}

void Control::Move(float left, float top, float width, float height)
{
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    applyGeometry();
}

void Control::storeSize(float width, float height)
{
    m_width = width;
    m_height = height;
}

void Control::setVisible(bool visible)
{
    m_visible = visible;
    applyVisible(visible);
}

void Control::applyVisible(bool visible)
{
    m_widget->setVisible(visible);
}

void Control::letClicksThrough()
{
    m_widget->setAttribute(Qt::WA_TransparentForMouseEvents);
}

bool Control::Enabled() const
{
    return m_widget->isEnabled();
}

bool Control::holdsFocus() const
{
    // The window's focus widget, whether or not the window is active (a message box may be).
    const QWidget* focus = m_widget->window()->focusWidget();
    return focus != nullptr && (focus == m_widget || m_widget->isAncestorOf(focus));
}

void Control::setEnabled(bool enabled)
{
    if (!enabled && m_widget->isEnabled() && holdsFocus()) {
        m_focusWhenEnabled = true;
        // With no focus widget, the window itself receives the keys and ignores them.
        m_widget->clearFocus();
    }
    m_widget->setEnabled(enabled);
    if (enabled && m_focusWhenEnabled) {
        m_focusWhenEnabled = false;
        if (m_widget->window()->focusWidget() == nullptr)
            m_widget->setFocus(Qt::OtherFocusReason);
    }
}

void Control::Refresh()
{
    // On an X display every immediate repaint is a round trip to the server; the queue is served
    // every couple of milliseconds during long loops, far more often than a screen refreshes.
    m_widget->update();
}

void Control::copyCommonFrom(const Control& other)
{
    m_left = other.m_left;
    m_top = other.m_top;
    m_width = other.m_width;
    m_height = other.m_height;
    m_tag = other.m_tag;
    m_tabIndex = other.m_tabIndex;
    m_widget->setFont(other.m_widget->font());
    m_widget->setPalette(other.m_widget->palette());
    m_widget->setEnabled(other.m_widget->isEnabled());
    applyGeometry();
}

} // namespace hollenby::ui
