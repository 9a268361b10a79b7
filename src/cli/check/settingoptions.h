#pragma once
// The options that change check's findings for one run, and win over a project file:
// --ignore, --warn and --error, each with finding ids separated by commas and given as often as
// wanted (the last word on an id wins), and --max-findings.

#include "checksettings.h"

class QCommandLineParser;

namespace hollenby::cli {

enum class SettingOptions
{
    All,       // check: every option above
    IgnoreOnly // fix: only --ignore, since what it fixes has no severity
};

void AddSettingOptions(QCommandLineParser& parser, SettingOptions which);

// What the options in `parser` say. Throws CliError naming the option for an unknown id or a
// --max-findings that is not a whole number from 0.
CheckSettings SettingsFromOptions(const QCommandLineParser& parser);

} // namespace hollenby::cli
