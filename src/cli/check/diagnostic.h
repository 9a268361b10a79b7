#pragma once
// Findings about a level, printed as compilers print them so that editors, CI annotations and
// grep understand them: "FILE:LINE:COLUMN: error|warning|note: message [id]".

#include <QJsonObject>
#include <QString>

#include <cstdint>

namespace hollenby::cli {

enum class Severity
{
    Error,
    Warning,
    Note
};

// "error", "warning" or "note".
QString SeverityName(Severity severity);

struct Finding
{
    QString file;
    std::int64_t line = 0;   // from 1
    std::int64_t column = 0; // from 1, counting bytes
    Severity severity = Severity::Error;
    QString message;
    QString id; // a stable name for the kind of finding, e.g. "unknown-code"
};

QString FormatFinding(const Finding& finding);

// {"file", "line", "column", "severity", "message", "id"}: the same fields for machines.
QJsonObject FindingToJson(const Finding& finding);

} // namespace hollenby::cli
