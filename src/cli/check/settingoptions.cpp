#include "settingoptions.h"

#include "clierror.h"

#include <QCommandLineParser>

#include <map>

namespace hollenby::cli {

namespace {

const QString kMaxFindings = QStringLiteral("max-findings");

const std::map<QString, CheckSettings::Treatment>& Treatments()
{
    static const std::map<QString, CheckSettings::Treatment> treatments = {
        {QStringLiteral("ignore"), CheckSettings::Treatment::Ignore},
        {QStringLiteral("warn"), CheckSettings::Treatment::Warning},
        {QStringLiteral("error"), CheckSettings::Treatment::Error},
    };
    return treatments;
}

} // namespace

void AddSettingOptions(QCommandLineParser& parser, SettingOptions which)
{
    parser.addOption({QStringLiteral("ignore"),
                      which == SettingOptions::All
                          ? QStringLiteral("Report no finding with these ids (separated by "
                                           "commas).")
                          : QStringLiteral("Leave the findings with these ids (separated by "
                                           "commas) as they are."),
                      QStringLiteral("ID,...")});
    if (which == SettingOptions::IgnoreOnly)
        return;
    parser.addOptions({
        {QStringLiteral("warn"), QStringLiteral("Report findings with these ids as warnings."),
         QStringLiteral("ID,...")},
        {QStringLiteral("error"), QStringLiteral("Report findings with these ids as errors."),
         QStringLiteral("ID,...")},
        {kMaxFindings,
         QStringLiteral("Show at most N findings of each kind in a level and count the rest "
                        "(default 100; 0 shows all)."),
         QStringLiteral("N")},
    });
}

CheckSettings SettingsFromOptions(const QCommandLineParser& parser)
{
    CheckSettings settings;
    // In the order given, so that a later option on the same id wins.
    std::map<QString, qsizetype> used;
    for (const QString& name : parser.optionNames()) {
        const auto treatment = Treatments().find(name);
        if (treatment == Treatments().end())
            continue;
        const QString text = parser.values(name).value(used[name]++);
        settings.set(CheckSettings::Ids(text, QStringLiteral("--") + name), treatment->second);
    }
    // Asked through the names found, since fix has no such option to ask about.
    if (parser.optionNames().contains(kMaxFindings)) {
        bool ok = false;
        const QString text = parser.value(kMaxFindings);
        const int max = text.toInt(&ok);
        if (!ok || max < 0 || text.startsWith(QLatin1Char('+')))
            throw CliError(QStringLiteral("--max-findings \"%1\": must be a whole number from 0 "
                                          "(0 shows every finding)")
                               .arg(text));
        settings.setMaxFindings(max);
    }
    return settings;
}

} // namespace hollenby::cli
