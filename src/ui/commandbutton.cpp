#include "commandbutton.h"

#include "controls.h"

#include <QKeyEvent>
#include <QPushButton>

namespace hollenby::ui {

class CommandButton::Button : public QPushButton
{
public:
    explicit Button(QWidget* parent) : QPushButton(parent) {}

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        // Outside a dialog a Qt button leaves Enter to its window; here it presses the button.
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (enter && event->modifiers() == Qt::NoModifier) {
            if (!event->isAutoRepeat())
                click();
            return;
        }
        QPushButton::keyPressEvent(event);
    }
};

CommandButton::CommandButton(QWidget* parent, double unitsPerPixel)
    : Control(new Button(parent), unitsPerPixel), m_button(static_cast<Button*>(widget()))
{
    m_button->setFont(DefaultFont());
    m_button->setAutoDefault(false);
    QObject::connect(m_button, &QPushButton::clicked, m_button, [this] {
        if (Click)
            Click();
    });
}

QString CommandButton::Caption() const
{
    return m_button->text();
}

void CommandButton::setCaption(const QString& caption)
{
    m_button->setText(caption);
}

void CommandButton::setPicture(const QIcon& icon, int pixels)
{
    m_button->setIcon(icon);
    m_button->setIconSize(QSize(pixels, pixels));
}

void CommandButton::setBackColor(unsigned int bgr)
{
    QPalette palette = m_button->palette();
    palette.setColor(QPalette::Button, ColorFromBgr(bgr));
    m_button->setPalette(palette);
}

void CommandButton::setToolTipText(const QString& text)
{
    m_button->setToolTip(text);
}

void CommandButton::click()
{
    m_button->click();
}

} // namespace hollenby::ui
