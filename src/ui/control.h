#pragma once
// A control placed in its container's units: twips in the main window (15 per pixel), pixels in
// the play window. The values are kept exactly as set and converted to pixels, rounded, only
// when applied, so repeated arithmetic on them never drifts.
//
// The controls of a container are stacked in the order they were created: where two overlap,
// the later one lies on top, whatever their kinds.

#include <QColor>
#include <QString>

class QWidget;

namespace hollenby::ui {

// 0x00BBGGRR, the form the layout's colour values are written in.
QColor ColorFromBgr(unsigned int bgr);

class Control
{
public:
    Control(QWidget* widget, double unitsPerPixel);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    QWidget* widget() const { return m_widget; }
    double unitsPerPixel() const { return m_unitsPerPixel; }

    float Left() const { return m_left; }
    float Top() const { return m_top; }
    float Width() const { return m_width; }
    float Height() const { return m_height; }
    void setLeft(float left);
    void setTop(float top);
    void setWidth(float width);
    void setHeight(float height);
    void Move(float left, float top, float width, float height);

    bool Visible() const { return m_visible; }
    void setVisible(bool visible);
    bool Enabled() const;
    // A control that has the focus keeps it while disabled, as far as the keyboard goes: keys
    // typed meanwhile reach no control (Qt would hand the focus to the next one, which would take
    // them), and enabling it again gives it the focus back, unless the user has put the focus
    // somewhere else in the meantime (a click or Tab).
    void setEnabled(bool enabled);
    const QString& Tag() const { return m_tag; }
    void setTag(const QString& tag) { m_tag = tag; }
    int TabIndex() const { return m_tabIndex; }
    void setTabIndex(int index) { m_tabIndex = index; }

    // Paints the control at the next yield that serves the event queue, with everything else
    // that changed since the last one: one trip to the display for many controls instead of one
    // for each, at most a yield interval later than painting at once.
    void Refresh();

    int toPixels(float units) const;
    float fromPixels(int pixels) const;

protected:
    // For a control without click handling of its own (label, image): a click on it reaches
    // whatever lies beneath. Called once, when the control is created.
    void letClicksThrough();
    // Shows or hides the widget; a control drawn in some other way than as a widget of its own
    // overrides it.
    virtual void applyVisible(bool visible);
    // Copies the common properties of `other` (the lowest element of a control array).
    void copyCommonFrom(const Control& other);
    void applyGeometry();
    // Lets a subclass whose size follows its content (an image) keep its size in the stored units.
    void storeSize(float width, float height);

private:
    QWidget* m_widget;
    double m_unitsPerPixel;
    float m_left = 0;
    float m_top = 0;
    float m_width = 0;
    float m_height = 0;
    bool m_visible = true;
    QString m_tag;
    int m_tabIndex = -1;
    bool m_focusWhenEnabled = false;
    bool holdsFocus() const;
};

} // namespace hollenby::ui
