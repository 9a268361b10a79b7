#include "sizetext.h"

#include <QLocale>

#include <cmath>

namespace hollenby::utils {

namespace {

// "0.00": at least one digit before the separator and exactly two after, an exact half going
// away from zero. The values come from dividing a 32-bit count by a power of two, so value * 100
// is exact and so is the rounding.
QString TwoDecimals(double value)
{
    const auto hundredths = static_cast<std::int64_t>(std::round(value * 100.0));
    return QString::number(hundredths / 100) + QLocale().decimalPoint() +
           QStringLiteral("%1").arg(hundredths % 100, 2, 10, QLatin1Char('0'));
}

} // namespace

QString SizeText(std::int64_t bytes)
{
    const std::int32_t n = bytes < 0 || bytes > INT32_MAX ? 0 : static_cast<std::int32_t>(bytes);
    if (n < 1024)
        return QString::number(n) + QStringLiteral(" bytes");
    if (n < 1048576)
        return TwoDecimals(n / 1024.0) + QStringLiteral(" Kb");
    if (n < 1073741824)
        return TwoDecimals(n / 1048576.0) + QStringLiteral(" Mb");
    return TwoDecimals(n / 1073741824.0) + QStringLiteral(" Gb");
}

} // namespace hollenby::utils
