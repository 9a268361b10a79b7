// check: findings about levels, in the form compilers use, for editors and build pipelines, or
// as JSON or SARIF for machines.

#include "checkreports.h"
#include "checkrun.h"
#include "clierror.h"
#include "findingkinds.h"
#include "findingtext.h"
#include "helptext.h"
#include "levelarguments.h"
#include "levelcheck.h"
#include "levelcommands.h"
#include "levelinput.h"
#include "optionvalues.h"
#include "projectfile.h"
#include "settingoptions.h"
#include "standardstreams.h"
#include "terminalcolour.h"

#include <QCommandLineParser>
#include <QTextStream>

namespace hollenby::cli {

namespace {

const QString kFormat = QStringLiteral("format");
const QString kStrict = QStringLiteral("strict");
const QString kQuiet = QStringLiteral("quiet");

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
    parser.setApplicationDescription(
        parser.applicationDescription() + QStringLiteral("\n\n") +
        WrapHelp(QStringLiteral("A project file, .hollenby-level.ini in the level's folder or "
                                "the nearest one above it, may set ignore, warn, error (ids "
                                "separated by commas) and max-findings in its [check] section; "
                                "the options win over it.")) +
        QStringLiteral("\n") + FindingTable());
    parser.addPositionalArgument(QStringLiteral("LEVEL..."),
                                 QStringLiteral("The level files; - reads standard input."));
    parser.addOption(ResourcesOption());
    parser.addOptions({
        {kFormat,
         QStringLiteral("text: one line per finding and a summary; json: one object for the "
                        "run; sarif: SARIF 2.1.0."),
         QStringLiteral("text|json|sarif"), QStringLiteral("text")},
        {kStrict, QStringLiteral("Warnings fail the check too.")},
        {{QStringLiteral("q"), kQuiet},
         QStringLiteral("Print only the findings that fail the check, and nothing for a level "
                        "that passes (text format).")},
    });
    parser.addOption(ColourOption());
    AddSettingOptions(parser, SettingOptions::All);
    parser.addOption(StdinNameOption());
}

QString Counted(std::int64_t count, const char* what)
{
    return QStringLiteral("%1 %2%3")
        .arg(count)
        .arg(QLatin1String(what))
        .arg(count == 1 ? QString() : QStringLiteral("s"));
}

int Run(const QCommandLineParser& parser)
{
    const QStringList levels = LevelArguments(parser, QStringLiteral("check"));
    const QString format =
        ParseChoice(QStringLiteral("--format"), parser.value(kFormat),
                    {QStringLiteral("text"), QStringLiteral("json"), QStringLiteral("sarif")});
    const bool text = format == QLatin1String("text");
    const bool strict = parser.isSet(kStrict);
    const bool quiet = parser.isSet(kQuiet);
    const bool colour = text && ColourWanted(parser);
    const CheckSettings options = SettingsFromOptions(parser);
    const auto fails = [strict](Severity severity) {
        return severity == Severity::Error || (strict && severity == Severity::Warning);
    };

    // Every project file is read first: a mistake in one stops the run before any report.
    ProjectFiles projects;
    std::vector<CheckSettings> settings;
    for (const QString& level : levels)
        settings.push_back(projects.settingsFor(LevelNameIn(parser, level)).overriddenBy(options));

    QTextStream& out = StandardOutput();
    CheckRun run;
    for (qsizetype i = 0; i < levels.size(); ++i) {
        const QString name = LevelNameIn(parser, levels[i]);
        LevelFindings found;
        try {
            const LevelText level(levels[i], name);
            found = CheckLevel(level, ResourcesFolderIn(parser, name), settings[std::size_t(i)]);
        } catch (const CliError& error) {
            // The others are still checked; the exit status says one could not be.
            out.flush();
            PrintError(error.message());
            run.unreadable.push_back({name, error.reason()});
            continue;
        }
        run.files << name;
        run.counts.add(found);
        if (text)
            out << FindingLines(found, colour, quiet ? fails : std::function<bool(Severity)>());
        else
            run.levels.push_back(std::move(found));
    }
    if (format == QLatin1String("json")) {
        out << CheckRunJson(run);
    } else if (format == QLatin1String("sarif")) {
        out << CheckRunSarif(run);
    } else if (!quiet) {
        out << Counted(run.counts.of(Severity::Error), "error") << ", "
            << Counted(run.counts.of(Severity::Warning), "warning") << ", "
            << Counted(run.counts.of(Severity::Note), "note") << " in "
            << Counted(run.files.size(), "level") << '\n';
    }
    out.flush();
    if (!run.unreadable.empty())
        return kExitTrouble;
    const bool failed =
        run.counts.of(Severity::Error) > 0 || (strict && run.counts.of(Severity::Warning) > 0);
    return failed ? kExitFindings : kExitClean;
}

} // namespace

Command CheckCommand()
{
    return {QStringLiteral("check"),
            QStringLiteral("LEVEL... [-r DIR] [--format text|json|sarif] [--strict] [--quiet] "
                           "[--ignore ID,...] [--warn ID,...] [--error ID,...]"),
            QStringLiteral("Find what the editor or the game would read otherwise than meant."),
            Define, Run};
}

} // namespace hollenby::cli
