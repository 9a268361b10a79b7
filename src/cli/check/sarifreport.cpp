#include "checkreports.h"

#include "findingkinds.h"
#include "findingtext.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

#include <map>

namespace hollenby::cli {

namespace {

// A level's name as a URI reference: a relative path stays relative (to where check ran, which
// code-review systems take for the repository's top), an absolute one becomes a file: URI.
QString ArtifactUri(const QString& name)
{
    if (QDir::isAbsolutePath(name))
        return QUrl::fromLocalFile(name).toString(QUrl::FullyEncoded);
    return QString::fromLatin1(QUrl::toPercentEncoding(name, "/"));
}

int RuleIndex(const QString& id)
{
    for (std::size_t i = 0; i < kFindingKinds.size(); ++i) {
        if (id == QLatin1String(kFindingKinds[i]->id))
            return int(i);
    }
    return -1;
}

QJsonArray Rules()
{
    QJsonArray rules;
    for (const FindingKind* kind : kFindingKinds) {
        rules.append(QJsonObject{
            {QStringLiteral("id"), QLatin1String(kind->id)},
            {QStringLiteral("shortDescription"),
             QJsonObject{{QStringLiteral("text"), QLatin1String(kind->what)}}},
            {QStringLiteral("defaultConfiguration"),
             QJsonObject{{QStringLiteral("level"), SeverityName(kind->severity)}}},
        });
    }
    return rules;
}

QJsonObject Message(const QString& text)
{
    return {{QStringLiteral("text"), text}};
}

class SarifWriter
{
public:
    explicit SarifWriter(const CheckRun& run) : m_run(run) {}

    QJsonObject write()
    {
        QJsonArray results;
        QJsonArray notifications;
        for (const LevelFindings& level : m_run.levels) {
            for (const Finding& finding : level.shown) {
                results.append(QJsonObject{
                    {QStringLiteral("ruleId"), finding.id},
                    {QStringLiteral("ruleIndex"), RuleIndex(finding.id)},
                    {QStringLiteral("level"), SeverityName(finding.severity)},
                    {QStringLiteral("message"), Message(finding.message)},
                    {QStringLiteral("locations"),
                     QJsonArray{location(finding.file, finding.line, finding.column)}},
                });
            }
            for (const HiddenFindings& hidden : level.hidden) {
                notifications.append(QJsonObject{
                    {QStringLiteral("level"), QStringLiteral("note")},
                    {QStringLiteral("message"), Message(HiddenMessage(hidden))},
                    {QStringLiteral("locations"),
                     QJsonArray{location(hidden.file, hidden.line, hidden.column)}},
                    {QStringLiteral("associatedRule"),
                     QJsonObject{{QStringLiteral("id"), hidden.id},
                                 {QStringLiteral("index"), RuleIndex(hidden.id)}}},
                });
            }
        }
        for (const UnreadableLevel& level : m_run.unreadable) {
            notifications.append(QJsonObject{
                {QStringLiteral("level"), QStringLiteral("error")},
                {QStringLiteral("message"), Message(level.reason)},
                {QStringLiteral("locations"), QJsonArray{location(level.file, 0, 0)}},
            });
        }
        const QJsonObject driver{
            {QStringLiteral("name"), QStringLiteral("hollenby-level")},
            {QStringLiteral("version"), QStringLiteral(HOLLENBY_VERSION)},
            {QStringLiteral("semanticVersion"), QStringLiteral(HOLLENBY_VERSION)},
            {QStringLiteral("rules"), Rules()},
        };
        const QJsonObject run{
            {QStringLiteral("tool"), QJsonObject{{QStringLiteral("driver"), driver}}},
            {QStringLiteral("invocations"),
             QJsonArray{QJsonObject{
                 {QStringLiteral("executionSuccessful"), m_run.unreadable.empty()},
                 {QStringLiteral("toolExecutionNotifications"), notifications},
             }}},
            {QStringLiteral("artifacts"), m_artifacts},
            // A level is 8-bit text, one character a byte: columns counted in bytes are these.
            {QStringLiteral("columnKind"), QStringLiteral("unicodeCodePoints")},
            {QStringLiteral("results"), results},
        };
        return {
            {QStringLiteral("$schema"),
             QStringLiteral("https://docs.oasis-open.org/sarif/sarif/v2.1.0/errata01/os/schemas/"
                            "sarif-schema-2.1.0.json")},
            {QStringLiteral("version"), QStringLiteral("2.1.0")},
            {QStringLiteral("runs"), QJsonArray{run}},
        };
    }

private:
    const CheckRun& m_run;
    QJsonArray m_artifacts;
    std::map<QString, int> m_artifactIndex;

    // A place in a level; the level alone when `line` is 0.
    QJsonObject location(const QString& file, std::int64_t line, std::int64_t column)
    {
        const auto [known, fresh] = m_artifactIndex.emplace(file, int(m_artifacts.size()));
        const QString uri = ArtifactUri(file);
        if (fresh) {
            m_artifacts.append(QJsonObject{
                {QStringLiteral("location"), QJsonObject{{QStringLiteral("uri"), uri}}}});
        }
        QJsonObject physical{
            {QStringLiteral("artifactLocation"),
             QJsonObject{{QStringLiteral("uri"), uri}, {QStringLiteral("index"), known->second}}}};
        if (line > 0) {
            physical.insert(QStringLiteral("region"),
                            QJsonObject{{QStringLiteral("startLine"), qint64(line)},
                                        {QStringLiteral("startColumn"), qint64(column)}});
        }
        return {{QStringLiteral("physicalLocation"), physical}};
    }
};

} // namespace

QByteArray CheckRunSarif(const CheckRun& run)
{
    return QJsonDocument(SarifWriter(run).write()).toJson(QJsonDocument::Indented);
}

} // namespace hollenby::cli
