#include "controls.h"

#include "rawtextedit.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace hollenby::ui {

// Frame ---------------------------------------------------------------------------------------

Frame::Frame(QWidget* parent, double unitsPerPixel)
    : Control(new QGroupBox(parent), unitsPerPixel), m_box(static_cast<QGroupBox*>(widget()))
{
    m_box->setFont(DefaultFont());
}

QString Frame::Caption() const
{
    return m_box->title();
}

void Frame::setCaption(const QString& caption)
{
    m_box->setTitle(caption);
}

QWidget* Frame::container() const
{
    return m_box;
}

// Label ---------------------------------------------------------------------------------------

Label::Label(QWidget* parent, double unitsPerPixel)
    : Control(new QLabel(parent), unitsPerPixel), m_label(static_cast<QLabel*>(widget()))
{
    m_label->setTextFormat(Qt::PlainText);
    m_label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_label->setWordWrap(false);
    m_label->setFont(DefaultFont());
    // Transparent: a label on top of another control hides nothing of it but its own text.
    m_label->setAutoFillBackground(false);
    letClicksThrough();
}

void Label::setCaption(const QString& caption)
{
    m_caption = caption;
    m_label->setText(caption);
}

void Label::setForeColor(unsigned int bgr)
{
    QPalette palette = m_label->palette();
    palette.setColor(QPalette::WindowText, ColorFromBgr(bgr));
    m_label->setPalette(palette);
}

void Label::setFont(const QFont& font)
{
    m_label->setFont(font);
}

void Label::copyFrom(const Label& other)
{
    copyCommonFrom(other);
    setCaption(other.m_caption);
    setVisible(false);
}

// TextBox -------------------------------------------------------------------------------------

int KeyCodeOf(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Tab:
        return 9;
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
        return 18;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_Delete:
        return 46;
    default:
        break;
    }
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey; // the same values as the platform's codes
    return 0;
}

int ShiftStateOf(Qt::KeyboardModifiers modifiers)
{
    int shift = 0;
    if (modifiers & Qt::ShiftModifier)
        shift |= 1;
    if (modifiers & Qt::ControlModifier)
        shift |= 2;
    if (modifiers & Qt::AltModifier)
        shift |= 4;
    return shift;
}

class TextBox::KeyFilter : public QObject
{
public:
    explicit KeyFilter(TextBox& box) : m_box(box) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && m_box.KeyDown) {
            const auto* key = static_cast<QKeyEvent*>(event);
            m_box.KeyDown(KeyCodeOf(key->key()), ShiftStateOf(key->modifiers()));
        }
        return QObject::eventFilter(watched, event);
    }

private:
    TextBox& m_box;
};

namespace {
QWidget* makeTextWidget(QWidget* parent, TextBox::Mode mode)
{
    if (mode == TextBox::Mode::MultiLine)
        return new RawTextEdit(parent);
    auto* line = new QLineEdit(parent);
    line->setMaxLength(65535);
    return line;
}
} // namespace

TextBox::TextBox(QWidget* parent, double unitsPerPixel, Mode mode)
    : Control(makeTextWidget(parent, mode), unitsPerPixel), m_filter(new KeyFilter(*this))
{
    if (mode == Mode::MultiLine)
        m_multi = static_cast<RawTextEdit*>(widget());
    else
        m_line = static_cast<QLineEdit*>(widget());
    widget()->setFont(DefaultFont());
    widget()->installEventFilter(m_filter);
}

TextBox::~TextBox()
{
    delete m_filter;
}

QString TextBox::Text() const
{
    return m_line ? m_line->text() : m_multi->exactText();
}

void TextBox::setText(const QString& text)
{
    if (m_line)
        m_line->setText(text);
    else
        m_multi->setExactText(text);
}

void TextBox::setBackColor(unsigned int bgr)
{
    QPalette palette = widget()->palette();
    palette.setColor(QPalette::Base, ColorFromBgr(bgr));
    widget()->setPalette(palette);
}

void TextBox::setFocus()
{
    widget()->setFocus(Qt::OtherFocusReason);
}

} // namespace hollenby::ui
