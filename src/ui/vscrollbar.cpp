#include "vscrollbar.h"

#include "runtimeerror.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace hollenby::ui {

namespace {

// Qt's scroll bars never take the focus, so their styles draw none; this one marks its thumb.
// It also lets go of a held arrow or page area when it loses the mouse.
class FocusScrollBar : public QScrollBar
{
public:
    explicit FocusScrollBar(QWidget* parent) : QScrollBar(Qt::Vertical, parent)
    {
        setFocusPolicy(Qt::StrongFocus);
    }

protected:
    bool event(QEvent* event) override
    {
        // A modal box opened by a render that a held arrow started takes the mouse, and with it
        // the button's release: the arrow would go on repeating, rendering and opening boxes
        // behind the box. So would it when the window loses the focus while the button is down.
        if (event->type() == QEvent::WindowBlocked || event->type() == QEvent::WindowDeactivate)
            letGo();
        return QScrollBar::event(event);
    }

    void paintEvent(QPaintEvent* event) override
    {
        QScrollBar::paintEvent(event);
        if (!hasFocus())
            return;
        QStyleOptionSlider bar;
        initStyleOption(&bar);
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect =
            style()
                ->subControlRect(QStyle::CC_ScrollBar, &bar, QStyle::SC_ScrollBarSlider, this)
                .adjusted(1, 1, -1, -1);
        QPainter painter(this);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
    void focusInEvent(QFocusEvent* event) override
    {
        QScrollBar::focusInEvent(event);
        update();
    }
    void focusOutEvent(QFocusEvent* event) override
    {
        QScrollBar::focusOutEvent(event);
        update();
    }

private:
    // As if the button had been released where it is: the repeat stops, and a dragged thumb
    // stays where it was taken and raises its change.
    void letGo()
    {
        if (repeatAction() == SliderNoAction && !isSliderDown())
            return;
        const QPointF at = mapFromGlobal(QCursor::pos());
        QMouseEvent release(QEvent::MouseButtonRelease, at, QCursor::pos(), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        mouseReleaseEvent(&release);
    }
};

int checkedInt16(long long value)
{
    if (value < -32768 || value > 32767)
        throw RuntimeError::Overflow();
    return static_cast<int>(value);
}
} // namespace

VScrollBar::VScrollBar(QWidget* parent, double unitsPerPixel)
    : Control(new FocusScrollBar(parent), unitsPerPixel), m_bar(static_cast<QScrollBar*>(widget()))
{
    m_bar->setRange(0, 0);
    m_bar->setSingleStep(1);
    m_bar->setPageStep(1);
    QObject::connect(m_bar, &QScrollBar::valueChanged, m_bar, [this](int) {
        if (m_byCode) {
            m_lastRaised = m_bar->value();
            return;
        }
        // A dragged thumb raises its change once, when it is released.
        if (!m_bar->isSliderDown())
            raiseChangeIfMoved();
    });
    QObject::connect(m_bar, &QScrollBar::sliderReleased, m_bar, [this] { raiseChangeIfMoved(); });
}

void VScrollBar::raiseChangeIfMoved()
{
    if (m_bar->value() == m_lastRaised)
        return;
    m_lastRaised = m_bar->value();
    if (Change)
        Change();
}

int VScrollBar::Min() const
{
    return m_bar->minimum();
}

int VScrollBar::Max() const
{
    return m_bar->maximum();
}

int VScrollBar::Value() const
{
    return m_bar->value();
}

void VScrollBar::setMin(long long value)
{
    const int checked = checkedInt16(value);
    m_byCode = true;
    m_bar->setMinimum(checked);
    m_byCode = false;
    m_lastRaised = m_bar->value();
}

void VScrollBar::setMax(long long value)
{
    const int checked = checkedInt16(value);
    m_byCode = true;
    m_bar->setMaximum(checked);
    m_byCode = false;
    m_lastRaised = m_bar->value();
}

void VScrollBar::setValue(long long value)
{
    const int checked = checkedInt16(value);
    m_byCode = true;
    m_bar->setValue(checked);
    m_byCode = false;
    m_lastRaised = m_bar->value();
}

} // namespace hollenby::ui
