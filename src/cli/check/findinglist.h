#pragma once
// The findings one command makes about one level, as check and export both collect them: placed
// by byte offset where text editors would show them, at most kMaxFindingsPerId of each kind, the
// rest counted in a note.

#include "diagnostic.h"
#include "findingkinds.h"

#include <QString>

#include <map>
#include <vector>

namespace hollenby::cli {

class LevelText;

inline constexpr int kMaxFindingsPerId = 100;

class FindingList
{
public:
    explicit FindingList(const LevelText& level) : m_level(level) {}

    // A finding at byte `offset` of the level.
    void add(std::size_t offset, Severity severity, const QString& id, const QString& message);
    // The same with check's id and severity for the kind.
    void add(std::size_t offset, const FindingKind& kind, const QString& message)
    {
        add(offset, kind.severity, QLatin1String(kind.id), message);
    }

    // Every finding kept, in file order, with a note for each kind that had more.
    std::vector<Finding> take();

private:
    const LevelText& m_level;
    std::vector<Finding> m_findings;
    std::map<QString, int> m_counts;
};

} // namespace hollenby::cli
