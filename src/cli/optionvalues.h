#pragma once
// Reading option values. Each bad value throws CliError naming the option and the value, so the
// user sees at once which one to fix.

#include <QString>
#include <QStringList>

#include <cstdint>
#include <limits>

namespace hollenby::cli {

// Rows numbered from 1, as the editor's scroll bar counts them; `last` may pass the level's end.
struct RowRange
{
    std::int64_t first = 1;
    std::int64_t last = std::numeric_limits<std::int64_t>::max();
};

// "FIRST:LAST", "FIRST:", ":LAST" or a single row "N".
RowRange ParseRowRange(const QString& option, const QString& text);

// A number above 0 and at most 1.
double ParseScale(const QString& option, const QString& text);

// "#RRGGBB" as 0xRRGGBB.
std::uint32_t ParseColour(const QString& option, const QString& text);

// A whole number from 1 to `max`.
int ParseCount(const QString& option, const QString& text, int max);

// One of `choices`, exactly.
QString ParseChoice(const QString& option, const QString& text, const QStringList& choices);

} // namespace hollenby::cli
