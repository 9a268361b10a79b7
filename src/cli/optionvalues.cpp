#include "optionvalues.h"

#include "clierror.h"

#include <QRegularExpression>

#include <cmath>

namespace hollenby::cli {

namespace {

[[noreturn]] void Refuse(const QString& option, const QString& text, const QString& reason)
{
    throw CliError(QStringLiteral("%1 \"%2\": %3").arg(option, text, reason));
}

std::int64_t ParseRowNumber(const QString& option, const QString& whole, const QString& part)
{
    bool ok = false;
    const qlonglong value = part.toLongLong(&ok);
    if (!ok || value < 1 || part.startsWith(QLatin1Char('+')))
        Refuse(option, whole, QStringLiteral("rows are numbered from 1; write FIRST:LAST"));
    return value;
}

} // namespace

RowRange ParseRowRange(const QString& option, const QString& text)
{
    RowRange range;
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    if (colon < 0) {
        range.first = range.last = ParseRowNumber(option, text, text);
        return range;
    }
    const QString first = text.left(colon);
    const QString last = text.mid(colon + 1);
    if (first.isEmpty() && last.isEmpty())
        Refuse(option, text, QStringLiteral("give FIRST, LAST or both"));
    if (!first.isEmpty())
        range.first = ParseRowNumber(option, text, first);
    if (!last.isEmpty())
        range.last = ParseRowNumber(option, text, last);
    if (range.first > range.last)
        Refuse(option, text, QStringLiteral("the first row comes after the last"));
    return range;
}

double ParseScale(const QString& option, const QString& text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value) || value <= 0.0 || value > 1.0)
        Refuse(option, text, QStringLiteral("must be a number above 0 and at most 1"));
    return value;
}

std::uint32_t ParseColour(const QString& option, const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^#[0-9A-Fa-f]{6}$"));
    if (!pattern.match(text).hasMatch())
        Refuse(option, text, QStringLiteral("must be a colour written #RRGGBB"));
    return text.mid(1).toUInt(nullptr, 16);
}

int ParseCount(const QString& option, const QString& text, int max)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < 1 || value > max || text.startsWith(QLatin1Char('+')))
        Refuse(option, text, QStringLiteral("must be a whole number from 1 to %1").arg(max));
    return value;
}

QString ParseChoice(const QString& option, const QString& text, const QStringList& choices)
{
    if (!choices.contains(text))
        Refuse(option, text,
               QStringLiteral("must be one of: ") + choices.join(QStringLiteral(", ")));
    return text;
}

} // namespace hollenby::cli
