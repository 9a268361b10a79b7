#include "diagnostic.h"

namespace hollenby::cli {

QString SeverityName(Severity severity)
{
    switch (severity) {
    case Severity::Error:
        return QStringLiteral("error");
    case Severity::Warning:
        return QStringLiteral("warning");
    case Severity::Note:
        break;
    }
    return QStringLiteral("note");
}

QJsonObject FindingToJson(const Finding& finding)
{
    return {
        {QStringLiteral("file"), finding.file},
        {QStringLiteral("line"), static_cast<qint64>(finding.line)},
        {QStringLiteral("column"), static_cast<qint64>(finding.column)},
        {QStringLiteral("severity"), SeverityName(finding.severity)},
        {QStringLiteral("message"), finding.message},
        {QStringLiteral("id"), finding.id},
    };
}

} // namespace hollenby::cli
