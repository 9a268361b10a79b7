#include "checksettings.h"

#include "clierror.h"

namespace hollenby::cli {

QStringList CheckSettings::Ids(const QString& text, const QString& where)
{
    QStringList ids;
    for (const QString& piece : text.split(QLatin1Char(','))) {
        const QString id = piece.trimmed();
        if (id.isEmpty())
            continue;
        if (FindFindingKind(id.toStdString()) == nullptr)
            throw CliError(QStringLiteral("%1 \"%2\": no kind of finding has this id; "
                                          "'hollenby-level help check' lists them")
                               .arg(where, id));
        ids << id;
    }
    return ids;
}

void CheckSettings::set(const QStringList& ids, Treatment treatment)
{
    for (const QString& id : ids)
        m_kinds[id.toStdString()] = treatment;
}

CheckSettings CheckSettings::overriddenBy(const CheckSettings& over) const
{
    CheckSettings merged = *this;
    for (const auto& [id, treatment] : over.m_kinds)
        merged.m_kinds[id] = treatment;
    if (over.m_maxFindings)
        merged.m_maxFindings = over.m_maxFindings;
    return merged;
}

std::optional<Severity> CheckSettings::severityOf(const FindingKind& kind) const
{
    const auto found = m_kinds.find(kind.id);
    if (found == m_kinds.end())
        return kind.severity;
    switch (found->second) {
    case Treatment::Ignore:
        break;
    case Treatment::Warning:
        return Severity::Warning;
    case Treatment::Error:
        return Severity::Error;
    }
    return std::nullopt;
}

} // namespace hollenby::cli
