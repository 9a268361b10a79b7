#include "findingtext.h"

#include "printable.h"
#include "terminalcolour.h"

#include <algorithm>

namespace hollenby::cli {

namespace {

const char* SeverityStyle(Severity severity)
{
    switch (severity) {
    case Severity::Error:
        return sgr::kError;
    case Severity::Warning:
        return sgr::kWarning;
    case Severity::Note:
        break;
    }
    return sgr::kNote;
}

QString Line(const QString& file, std::int64_t line, std::int64_t column, Severity severity,
             const QString& message, const QString& id, bool colour)
{
    const char* style = SeverityStyle(severity);
    QString text =
        Coloured(QStringLiteral("%1:%2:%3:").arg(Printable(file, -1)).arg(line).arg(column),
                 sgr::kLocus, colour) +
        QLatin1Char(' ') + Coloured(SeverityName(severity) + QLatin1Char(':'), style, colour) +
        QLatin1Char(' ') + Printable(message, -1);
    if (!id.isEmpty())
        text +=
            QLatin1Char(' ') + Coloured(QLatin1Char('[') + id + QLatin1Char(']'), style, colour);
    return text;
}

} // namespace

QString FindingLine(const Finding& finding, bool colour)
{
    return Line(finding.file, finding.line, finding.column, finding.severity, finding.message,
                finding.id, colour);
}

QString HiddenMessage(const HiddenFindings& hidden)
{
    if (hidden.count == 1)
        return QStringLiteral("1 more %1 finding not shown; it is here").arg(hidden.id);
    return QStringLiteral("%1 more %2 findings not shown; the first is here")
        .arg(hidden.count)
        .arg(hidden.id);
}

QString HiddenLine(const HiddenFindings& hidden, bool colour)
{
    return Line(hidden.file, hidden.line, hidden.column, Severity::Note, HiddenMessage(hidden), {},
                colour);
}

QString FindingLines(const LevelFindings& found, bool colour,
                     const std::function<bool(Severity)>& keep)
{
    const auto kept = [&keep](Severity severity) { return !keep || keep(severity); };
    // The notes go where their first hidden finding would have been.
    std::vector<const HiddenFindings*> hidden;
    for (const HiddenFindings& kind : found.hidden) {
        if (kept(kind.severity))
            hidden.push_back(&kind);
    }
    std::stable_sort(hidden.begin(), hidden.end(), [](const auto* a, const auto* b) {
        return a->line != b->line ? a->line < b->line : a->column < b->column;
    });
    QString text;
    auto next = hidden.begin();
    const auto before = [](const HiddenFindings* a, const Finding& b) {
        return a->line != b.line ? a->line < b.line : a->column < b.column;
    };
    for (const Finding& finding : found.shown) {
        for (; next != hidden.end() && before(*next, finding); ++next)
            text += HiddenLine(**next, colour) + QLatin1Char('\n');
        if (kept(finding.severity))
            text += FindingLine(finding, colour) + QLatin1Char('\n');
    }
    for (; next != hidden.end(); ++next)
        text += HiddenLine(**next, colour) + QLatin1Char('\n');
    return text;
}

} // namespace hollenby::cli
