#include "findinglist.h"

#include "levelinput.h"

#include <algorithm>

namespace hollenby::cli {

void FindingList::add(std::size_t offset, Severity severity, const QString& id,
                      const QString& message)
{
    if (++m_counts[id] > kMaxFindingsPerId)
        return;
    const auto [line, column] = m_level.place(offset);
    m_findings.push_back({m_level.path(), line, column, severity, message, id});
}

std::vector<Finding> FindingList::take()
{
    for (const auto& [id, count] : m_counts) {
        if (count > kMaxFindingsPerId) {
            m_findings.push_back({m_level.path(), 1, 1, Severity::Note,
                                  QStringLiteral("%1 more [%2] findings not shown")
                                      .arg(count - kMaxFindingsPerId)
                                      .arg(id),
                                  id});
        }
    }
    m_counts.clear();
    std::stable_sort(m_findings.begin(), m_findings.end(), [](const Finding& a, const Finding& b) {
        return a.line != b.line ? a.line < b.line : a.column < b.column;
    });
    return std::move(m_findings);
}

} // namespace hollenby::cli
