#pragma once
// A multi-line text box that gives back exactly the 8-bit text it was given. Qt's editor turns
// every line end into a paragraph break and a no-break space into a space, so CR LF is shown as
// a line break and the characters it would lose or show as nothing (a lone CR or LF, NUL and the
// other control characters but tab, DEL, the no-break space) as visible stand-ins, mapped back when
// the text is read. Until the user edits, the text given is handed back as it is; after an edit it
// is rebuilt from what the box shows, a line break typed with Enter becoming CR LF (and a
// stand-in typed or pasted becoming the character it stands for).
//
// Long lines wrap at the box's width. Tab and Shift+Tab move the focus, as in the other boxes.

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
