// fix: rewrites levels so that the findings with one mechanical answer are gone.

#include "fixcommand.h"
#include "check/projectfile.h"
#include "check/settingoptions.h"
#include "clierror.h"
#include "helptext.h"
#include "levelfix.h"
#include "levelinput.h"
#include "outputfile.h"
#include "printable.h"
#include "standardstreams.h"
#include "terminalcolour.h"
#include "unifieddiff.h"

#include <QCommandLineParser>
#include <QTextStream>

#include <map>
#include <unistd.h>

namespace hollenby::cli {

namespace {

const QString kDryRun = QStringLiteral("dry-run");
const QString kLineEnds = QStringLiteral("line-ends");

void Define(QCommandLineParser& parser)
{
    parser.setApplicationDescription(
        parser.applicationDescription() + QStringLiteral("\n\n") +
        WrapHelp(QStringLiteral(
                     "Fixed: empty lines at the end past the one a final CR LF makes "
                     "(trailing-empty-lines), spaces and tabs in a cell that holds a code "
                     "(whitespace), and codes written with look-alike characters such as 0l "
                     "or O1 (unknown-code, where check names exactly one code). Nothing else "
                     "is changed. Each file is rewritten whole, through a new file that takes "
                     "its name; a level that needs nothing is not touched. The ignore setting "
                     "of a project file (see check) leaves those findings alone."))
            .chopped(1));
    parser.addPositionalArgument(QStringLiteral("LEVEL..."),
                                 QStringLiteral("The level files to rewrite."));
    parser.addOptions({
        {kDryRun, QStringLiteral("Print what would change as a unified diff, and change nothing "
                                 "(exit status 1 when there is something to change).")},
        {kLineEnds,
         QStringLiteral("Make each lone LF or CR a CR LF as well. This changes what the game "
                        "plays: today a lone LF joins the lines around it into one row.")},
    });
    parser.addOption(ColourOption());
    AddSettingOptions(parser, SettingOptions::IgnoreOnly);
}

// "2 whitespace, 1 unknown-code": what the edits fix, kind by kind.
QString Fixed(const std::vector<TextEdit>& edits)
{
    std::map<QString, int> counts;
    for (const TextEdit& edit : edits)
        ++counts[QLatin1String(edit.kind->id)];
    QStringList parts;
    for (const auto& [id, count] : counts)
        parts << QStringLiteral("%1 %2").arg(count).arg(id);
    return parts.join(QStringLiteral(", "));
}

int Run(const QCommandLineParser& parser)
{
    const QStringList levels = parser.positionalArguments();
    if (levels.isEmpty())
        throw CliError(QStringLiteral("fix takes one or more LEVEL files; 'hollenby-level help "
                                      "fix' shows how"));
    if (levels.contains(QStringLiteral("-")))
        throw CliError(QStringLiteral("fix: rewrites level files, and standard input is none; "
                                      "'check -' reads it"));
    const bool dryRun = parser.isSet(kDryRun);
    const DiffStyle style{::isatty(STDOUT_FILENO) == 1, ColourWanted(parser)};
    const CheckSettings options = SettingsFromOptions(parser);
    ProjectFiles projects;
    std::vector<CheckSettings> settings;
    for (const QString& level : levels)
        settings.push_back(projects.settingsFor(level).overriddenBy(options));

    FixOptions fix;
    fix.lineEnds = parser.isSet(kLineEnds);
    int status = kExitClean;
    bool changes = false;
    for (qsizetype i = 0; i < levels.size(); ++i) {
        const QString& path = levels[i];
        fix.fixes = [&settings, i](const FindingKind& kind) {
            return settings[std::size_t(i)].severityOf(kind).has_value();
        };
        try {
            const LevelText level(path);
            level.requireText();
            const std::vector<TextEdit> edits = LevelFixes(level.bytes(), fix);
            if (edits.empty())
                continue;
            changes = true;
            if (dryRun) {
                const QByteArray diff = UnifiedDiff(level.bytes(), edits, path, style);
                if (style.escaped)
                    StandardOutput() << QString::fromUtf8(diff);
                else
                    BinaryStandardOutput().write(diff);
                continue;
            }
            // The one command that writes over what it read: on purpose, so no input is named.
            OutputFile out(path, QStringList{});
            const std::string fixed = ApplyEdits(level.bytes(), edits);
            if (out.device().write(fixed.data(), qint64(fixed.size())) != qint64(fixed.size()))
                Fail(path, QStringLiteral("cannot write: ") + out.device().errorString());
            out.commit();
            StandardOutput() << Printable(path, -1) << ": fixed " << Fixed(edits) << '\n';
        } catch (const CliError& error) {
            // The others are still fixed; the exit status says one could not be.
            StandardOutput().flush();
            PrintError(error.message());
            status = kExitTrouble;
        }
    }
    if (status == kExitClean && dryRun && changes)
        return kExitFindings;
    return status;
}

} // namespace

Command FixCommand()
{
    return {QStringLiteral("fix"),
            QStringLiteral("LEVEL... [--dry-run] [--line-ends] [--ignore ID,...]"),
            QStringLiteral("Rewrite levels without the findings that have one sure fix."), Define,
            Run};
}

} // namespace hollenby::cli
