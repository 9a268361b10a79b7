#include "checkreports.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace hollenby::cli {

QByteArray CheckRunJson(const CheckRun& run)
{
    QJsonArray unreadable;
    for (const UnreadableLevel& level : run.unreadable) {
        unreadable.append(QJsonObject{{QStringLiteral("file"), level.file},
                                      {QStringLiteral("reason"), level.reason}});
    }
    QJsonObject counts;
    for (const Severity severity : {Severity::Error, Severity::Warning, Severity::Note})
        counts.insert(SeverityName(severity), qint64(run.counts.of(severity)));
    QJsonObject byKind;
    for (const auto& [id, count] : run.counts.byKind)
        byKind.insert(id, qint64(count));
    QJsonArray findings;
    QJsonArray notShown;
    for (const LevelFindings& level : run.levels) {
        for (const Finding& finding : level.shown)
            findings.append(FindingToJson(finding));
        for (const HiddenFindings& hidden : level.hidden) {
            notShown.append(QJsonObject{
                {QStringLiteral("file"), hidden.file},
                {QStringLiteral("id"), hidden.id},
                {QStringLiteral("severity"), SeverityName(hidden.severity)},
                {QStringLiteral("count"), qint64(hidden.count)},
                {QStringLiteral("line"), qint64(hidden.line)},
                {QStringLiteral("column"), qint64(hidden.column)},
            });
        }
    }
    const QJsonObject report{
        {QStringLiteral("files"), QJsonArray::fromStringList(run.files)},
        {QStringLiteral("unreadable"), unreadable},
        {QStringLiteral("counts"), counts},
        {QStringLiteral("countsByKind"), byKind},
        {QStringLiteral("findings"), findings},
        {QStringLiteral("notShown"), notShown},
    };
    return QJsonDocument(report).toJson(QJsonDocument::Indented);
}

} // namespace hollenby::cli
