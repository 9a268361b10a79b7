#pragma once
// A multi-line text box that gives back exactly the 8-bit text it was given. Qt's editor turns
// every line end into a paragraph break and drops some characters, so CR LF is shown as a line
// break and every other character it would lose (a lone CR or LF, NUL and the other control
// characters, the no-break space) as a visible stand-in, mapped back when the text is read.

#include <QPlainTextEdit>

namespace hollenby::ui {

QString DisplayFromExact(const QString& exact);
QString ExactFromDisplay(const QString& display);

class RawTextEdit : public QPlainTextEdit
{
public:
    explicit RawTextEdit(QWidget* parent);
    QString exactText() const;
    void setExactText(const QString& text);

private:
    mutable QString m_exact;
    mutable bool m_exactValid = true;
};

} // namespace hollenby::ui
