#pragma once
// A finding about a level: where it is, how severe, what it says, and the id of its kind.

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

// {"file", "line", "column", "severity", "message", "id"}: the same fields for machines.
QJsonObject FindingToJson(const Finding& finding);

} // namespace hollenby::cli
