#pragma once
// The findings one command makes about one level, as check and export both collect them: placed
// by byte offset where text editors would show them, each kind treated as the settings say and
// shown at most their maxFindings() times; the rest are counted, not shown.

#include "checksettings.h"
#include "diagnostic.h"
#include "findingkinds.h"

#include <QString>

#include <map>
#include <vector>

namespace hollenby::cli {

class LevelText;

// The findings of one kind that a level had beyond those shown.
struct HiddenFindings
{
    QString file;
    QString id;
    Severity severity = Severity::Warning;
    std::int64_t count = 0;
    std::int64_t line = 0; // where the first of them is
    std::int64_t column = 0;
};

// Everything found in one level.
struct LevelFindings
{
    std::vector<Finding> shown;         // in file order
    std::vector<HiddenFindings> hidden; // by id
};

class FindingList
{
public:
    explicit FindingList(const LevelText& level, CheckSettings settings = {})
        : m_level(level), m_settings(std::move(settings))
    {}

    // A finding at byte `offset` of the level, with this severity and id.
    void add(std::size_t offset, Severity severity, const QString& id, const QString& message);
    // A finding of one of check's kinds, with the severity the settings give it, or none at all
    // when they ignore it.
    void add(std::size_t offset, const FindingKind& kind, const QString& message);

    // Everything found, and an empty list for the next level.
    LevelFindings take();

private:
    const LevelText& m_level;
    CheckSettings m_settings;
    std::vector<Finding> m_findings;
    std::map<QString, int> m_shown; // by id
    std::map<QString, HiddenFindings> m_hidden;
};

} // namespace hollenby::cli
