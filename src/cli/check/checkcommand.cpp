// check: findings about levels, in the form compilers use, for editors and build pipelines.

#include "clierror.h"
#include "findingkinds.h"
#include "levelcheck.h"
#include "levelcommands.h"
#include "levelinput.h"
#include "optionvalues.h"
#include "printable.h"
#include "standardstreams.h"

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTextStream>

#include <cstdio>

namespace hollenby::cli {

namespace {

const QString kResources = QStringLiteral("resources");
const QString kFormat = QStringLiteral("format");
const QString kStrict = QStringLiteral("strict");

// What check can report, for its help: one line per kind of finding.
QString FindingTable()
{
    QString table = QStringLiteral("Findings (id, severity, what it finds):");
    for (const FindingKind* kind : kFindingKinds) {
        table += QStringLiteral("\n  %1  %2  %3")
                     .arg(QLatin1String(kind->id), -20)
                     .arg(SeverityName(kind->severity), -7)
                     .arg(QLatin1String(kind->what));
    }
    return table;
}

void Define(QCommandLineParser& parser)
{
    parser.setApplicationDescription(parser.applicationDescription() + QStringLiteral("\n\n") +
                                     FindingTable());
    parser.addPositionalArgument(QStringLiteral("LEVEL..."), QStringLiteral("The level files."));
    parser.addOptions({
        {{QStringLiteral("r"), kResources},
         QStringLiteral("The resources folder (default: _resources beside each level)."),
         QStringLiteral("DIR")},
        {kFormat, QStringLiteral("text: one line per finding and a summary; json: an array."),
         QStringLiteral("text|json"), QStringLiteral("text")},
        {kStrict, QStringLiteral("Warnings fail the check too.")},
    });
}

QString Counted(int count, const char* what)
{
    return QStringLiteral("%1 %2%3")
        .arg(count)
        .arg(QLatin1String(what))
        .arg(count == 1 ? QString() : QStringLiteral("s"));
}

int Run(const QCommandLineParser& parser)
{
    const QStringList levels = parser.positionalArguments();
    if (levels.isEmpty())
        throw CliError(QStringLiteral("check takes one or more LEVEL files"));
    const bool json =
        ParseChoice(QStringLiteral("--format"), parser.value(kFormat),
                    {QStringLiteral("text"), QStringLiteral("json")}) == QLatin1String("json");
    const bool strict = parser.isSet(kStrict);

    QTextStream& out = StandardOutput();
    QJsonArray array;
    int counts[3] = {0, 0, 0}; // by Severity
    int unreadable = 0;
    for (const QString& path : levels) {
        std::vector<Finding> findings;
        try {
            const LevelText level(path);
            findings = CheckLevel(level, ResourcesFolder(path, parser.value(kResources)));
        } catch (const CliError& error) {
            // The others are still checked; the exit status says one could not be.
            out.flush();
            PrintError(error.message());
            ++unreadable;
            continue;
        }
        for (const Finding& finding : findings) {
            ++counts[static_cast<int>(finding.severity)];
            if (json)
                array.append(FindingToJson(finding));
            else
                out << Printable(FormatFinding(finding), -1) << '\n';
        }
    }
    if (json) {
        out << QJsonDocument(array).toJson(QJsonDocument::Indented);
    } else {
        out << Counted(counts[0], "error") << ", " << Counted(counts[1], "warning") << ", "
            << Counted(counts[2], "note") << " in "
            << Counted(static_cast<int>(levels.size()) - unreadable, "level") << '\n';
    }
    out.flush();
    if (unreadable > 0)
        return kExitTrouble;
    const bool failed = counts[0] > 0 || (strict && counts[1] > 0);
    return failed ? kExitFindings : kExitClean;
}

} // namespace

Command CheckCommand()
{
    return {QStringLiteral("check"),
            QStringLiteral("LEVEL... [-r DIR] [--format text|json] [--strict]"),
            QStringLiteral("Find what the editor or the game would read otherwise than meant."),
            Define, Run};
}

} // namespace hollenby::cli
