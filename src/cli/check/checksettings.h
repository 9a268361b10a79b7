#pragma once
// What a project or a command line changes about check's findings: a kind silenced or given
// another severity than its own, and how many findings of one kind a level shows.

#include "findingkinds.h"

#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <string>

namespace hollenby::cli {

inline constexpr int kDefaultMaxFindings = 100;

class CheckSettings
{
public:
    // What becomes of the findings of one kind.
    enum class Treatment
    {
        Ignore,
        Warning,
        Error
    };

    // The ids in `text`, separated by commas, spaces around them dropped. Throws CliError
    // "`where` \"ID\": ..." for an id no kind has.
    static QStringList Ids(const QString& text, const QString& where);

    // Gives the kinds with these ids (Ids()) this treatment, in place of any earlier one.
    void set(const QStringList& ids, Treatment treatment);
    void setMaxFindings(int max) { m_maxFindings = max; }

    // These settings, with those of `over` in place wherever it says something.
    CheckSettings overriddenBy(const CheckSettings& over) const;

    // The severity the findings of `kind` get; none when they are ignored.
    std::optional<Severity> severityOf(const FindingKind& kind) const;
    // How many findings of one kind a level shows; 0 shows them all.
    int maxFindings() const { return m_maxFindings.value_or(kDefaultMaxFindings); }

private:
    std::map<std::string, Treatment> m_kinds; // by id
    std::optional<int> m_maxFindings;
};

} // namespace hollenby::cli
