#include "printable.h"

#include <algorithm>

namespace hollenby::cli {

namespace {

const QChar kEllipsis(0x2026);

bool ShownAsItself(char32_t c)
{
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F))
        return false;
    switch (QChar::category(c)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return false;
    default:
        return true;
    }
}

QString Escape(char32_t c)
{
    if (c <= 0xFF)
        return QStringLiteral("\\x%1").arg(uint(c), 2, 16, QLatin1Char('0'));
    return QStringLiteral("\\u{%1}").arg(uint(c), 4, 16, QLatin1Char('0'));
}

} // namespace

QString Printable(QStringView text, qsizetype limit)
{
    QString shown;
    shown.reserve(limit < 0 ? text.size() : std::min(text.size(), limit));
    for (qsizetype i = 0; i < text.size();) {
        // A surrogate pair is one character; a lone surrogate is escaped on its own.
        char32_t c = text[i].unicode();
        qsizetype length = 1;
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            length = 2;
        }
        const QString piece = ShownAsItself(c) ? text.mid(i, length).toString() : Escape(c);
        // Room is kept for the "…" unless this piece ends the text.
        const bool last = i + length == text.size();
        if (limit >= 0 && shown.size() + piece.size() + (last ? 0 : 1) > limit) {
            shown += kEllipsis;
            return shown;
        }
        shown += piece;
        i += length;
    }
    return shown;
}

QString Printable(std::string_view bytes, qsizetype limit)
{
    // Anything longer than the limit is cut, so a long cell need not be converted whole.
    const std::size_t wanted =
        limit < 0 ? bytes.size() : std::min(bytes.size(), std::size_t(limit) + 1);
    return Printable(QString::fromLatin1(bytes.data(), qsizetype(wanted)), limit);
}

} // namespace hollenby::cli
