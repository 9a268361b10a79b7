#pragma once
// The controls the windows are built from: frame, label, command button, text box and vertical
// scroll bar. Events are plain callbacks named as the handlers they lead to.

#include "commandbutton.h"
#include "control.h"
#include "defaultfont.h"
#include "vscrollbar.h"

#include <functional>

class QGroupBox;
class QLabel;
class QLineEdit;

namespace hollenby::ui {

class RawTextEdit;

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

// VB key codes: 13 for Enter. Shift bits: 1 Shift, 2 Ctrl, 4 Alt.
int KeyCodeOf(int qtKey);
int ShiftStateOf(Qt::KeyboardModifiers modifiers);

class TextBox : public Control
{
public:
    enum class Mode
    {
        SingleLine,
        MultiLine
    };
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

} // namespace hollenby::ui
