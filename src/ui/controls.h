#pragma once
// The controls the windows are built from: frame, label, command button, text box and vertical
// scroll bar. Events are plain callbacks named as the handlers they lead to.

#include "control.h"

#include <QFont>
#include <QIcon>

#include <functional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace hollenby::ui {

class RawTextEdit;

// "MS Sans Serif" 8.25 point, or a plain sans font of that size where the system lacks it.
QFont DefaultFont(bool bold = false);

class Frame : public Control
{
public:
    Frame(QWidget* parent, double unitsPerPixel);
    QString Caption() const;
    void setCaption(const QString& caption);
    // The widget that the frame's own controls are placed in.
    QWidget* container() const;

private:
    QGroupBox* m_box;
};

class Label : public Control
{
public:
    Label(QWidget* parent, double unitsPerPixel);
    const QString& Caption() const { return m_caption; }
    void setCaption(const QString& caption);
    void setForeColor(unsigned int bgr);
    void setFont(const QFont& font);
    // A new element of a control array: hidden, with the lowest element's properties.
    void copyFrom(const Label& other);

private:
    QLabel* m_label;
    QString m_caption;
};

class CommandButton : public Control
{
public:
    CommandButton(QWidget* parent, double unitsPerPixel);
    QString Caption() const;
    void setCaption(const QString& caption); // "&" marks the access key
    void setPicture(const QIcon& icon, int pixels);
    void setBackColor(unsigned int bgr);
    void setToolTipText(const QString& text);
    // Runs when the button is clicked, by mouse, space bar or access key.
    std::function<void()> Click;
    // Presses the button as a user would (for tests and scripts).
    void click();

private:
    QPushButton* m_button;
};

// VB key codes: 13 for Enter. Shift bits: 1 Shift, 2 Ctrl, 4 Alt.
int KeyCodeOf(int qtKey);
int ShiftStateOf(Qt::KeyboardModifiers modifiers);

class TextBox : public Control
{
public:
    enum class Mode { SingleLine, MultiLine };
    TextBox(QWidget* parent, double unitsPerPixel, Mode mode);
    ~TextBox() override;

    // Multi-line text keeps every character exactly as set, CR LF shown as a line break.
    QString Text() const;
    void setText(const QString& text);
    void setBackColor(unsigned int bgr);
    void setFocus();

    // Runs before the key reaches the box; the box then handles the key as usual.
    std::function<void(int keyCode, int shift)> KeyDown;

private:
    class KeyFilter;
    QLineEdit* m_line = nullptr;
    RawTextEdit* m_multi = nullptr;
    KeyFilter* m_filter;
};

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
