#pragma once
// A command button, with a caption or a picture.

#include "control.h"

#include <QIcon>

#include <functional>

namespace hollenby::ui {

class CommandButton : public Control
{
public:
    CommandButton(QWidget* parent, double unitsPerPixel);
    QString Caption() const;
    void setCaption(const QString& caption); // "&" marks the access key
    void setPicture(const QIcon& icon, int pixels);
    void setBackColor(unsigned int bgr);
    void setToolTipText(const QString& text);
    // Runs when the button is clicked: by the mouse, by its access key, and, while it has the
    // focus, by Enter (when the key goes down) or Space (when it comes up).
    std::function<void()> Click;
    // Presses the button as a user would (for tests and scripts).
    void click();

private:
    class Button;
    Button* m_button;
};

} // namespace hollenby::ui
