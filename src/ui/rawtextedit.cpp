#include "rawtextedit.h"

namespace hollenby::ui {

namespace {

constexpr char16_t kControlPictures = 0x2400; // U+2400..U+241F picture C0 controls
constexpr char16_t kDeletePicture = 0x2421;
constexpr char16_t kNoBreakSpacePicture = 0x237D;
constexpr char16_t kNoBreakSpace = 0xA0;

bool needsStandIn(char16_t c)
{
    return (c < 0x20 && c != u'\t') || c == 0x7F || c == kNoBreakSpace;
}

char16_t standIn(char16_t c)
{
    if (c == 0x7F)
        return kDeletePicture;
    if (c == kNoBreakSpace)
        return kNoBreakSpacePicture;
    return static_cast<char16_t>(kControlPictures + c);
}

} // namespace

QString DisplayFromExact(const QString& exact)
{
    QString display;
    display.reserve(exact.size());
    const qsizetype n = exact.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = exact[i].unicode();
        if (c == u'\r' && i + 1 < n && exact[i + 1] == u'\n') {
            display += QChar(u'\n');
            ++i;
        } else if (needsStandIn(c)) {
            display += QChar(standIn(c));
        } else {
            display += QChar(c);
        }
    }
    return display;
}

QString ExactFromDisplay(const QString& display)
{
    QString exact;
    exact.reserve(display.size() + display.size() / 16);
    for (const QChar ch : display) {
        const char16_t c = ch.unicode();
        if (c == u'\n' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            exact += QStringLiteral("\r\n");
        else if (c >= kControlPictures && c < kControlPictures + 0x20)
            exact += QChar(static_cast<char16_t>(c - kControlPictures));
        else if (c == kDeletePicture)
            exact += QChar(char16_t(0x7F));
        else if (c == kNoBreakSpacePicture)
            exact += QChar(kNoBreakSpace);
        else
            exact += ch;
    }
    return exact;
}

RawTextEdit::RawTextEdit(QWidget* parent) : QPlainTextEdit(parent)
{
    // A box with only a vertical scroll bar wraps its long lines, between words where it can and
    // anywhere in a run of codes too long for a line.
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab moves the focus on, as in every other box, instead of typing into the level.
    setTabChangesFocus(true);
    connect(document(), &QTextDocument::contentsChanged, this, [this] { m_exactValid = false; });
}

QString RawTextEdit::exactText() const
{
    if (!m_exactValid) {
        m_exact = ExactFromDisplay(toPlainText());
        m_exactValid = true;
    }
    return m_exact;
}

void RawTextEdit::setExactText(const QString& text)
{
    setPlainText(DisplayFromExact(text));
    m_exact = text;
    m_exactValid = true;
}

} // namespace hollenby::ui
