#include "findinglist.h"

#include "levelinput.h"

#include <algorithm>

namespace hollenby::cli {

void FindingList::add(std::size_t offset, Severity severity, const QString& id,
                      const QString& message)
{
    const int max = m_settings.maxFindings();
    if (max > 0 && ++m_shown[id] > max) {
        HiddenFindings& hidden = m_hidden[id];
        if (hidden.count == 0) {
            const auto [line, column] = m_level.place(offset);
            hidden = {m_level.name(), id, severity, 0, line, column};
        }
        ++hidden.count;
        return;
    }
    const auto [line, column] = m_level.place(offset);
    m_findings.push_back({m_level.name(), line, column, severity, message, id});
}

void FindingList::add(std::size_t offset, const FindingKind& kind, const QString& message)
{
    if (const std::optional<Severity> severity = m_settings.severityOf(kind))
        add(offset, *severity, QLatin1String(kind.id), message);
}

LevelFindings FindingList::take()
{
    LevelFindings found;
    // Findings are made in passes over the file, each in order: sorted, they read top down.
    std::stable_sort(m_findings.begin(), m_findings.end(), [](const Finding& a, const Finding& b) {
        return a.line != b.line ? a.line < b.line : a.column < b.column;
    });
    found.shown = std::move(m_findings);
    for (auto& [id, hidden] : m_hidden)
        found.hidden.push_back(std::move(hidden));
    m_findings.clear();
    m_shown.clear();
    m_hidden.clear();
    return found;
}

} // namespace hollenby::cli
