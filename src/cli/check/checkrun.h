#pragma once
// What one run of check found in all its levels, for the formats that report it whole, and the
// counts every format reports: every finding, shown or not.

#include "findinglist.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <map>
#include <vector>

namespace hollenby::cli {

struct FindingCounts
{
    std::array<std::int64_t, 3> bySeverity{}; // by Severity
    std::map<QString, std::int64_t> byKind;   // by id

    void add(const LevelFindings& found)
    {
        for (const Finding& finding : found.shown)
            count(finding.severity, finding.id, 1);
        for (const HiddenFindings& hidden : found.hidden)
            count(hidden.severity, hidden.id, hidden.count);
    }

    std::int64_t of(Severity severity) const
    {
        return bySeverity[static_cast<std::size_t>(severity)];
    }

private:
    void count(Severity severity, const QString& id, std::int64_t n)
    {
        bySeverity[static_cast<std::size_t>(severity)] += n;
        byKind[id] += n;
    }
};

struct UnreadableLevel
{
    QString file;
    QString reason;
};

struct CheckRun
{
    QStringList files; // the levels checked, by the names findings give them
    std::vector<UnreadableLevel> unreadable;
    std::vector<LevelFindings> levels;
    FindingCounts counts;
};

} // namespace hollenby::cli
