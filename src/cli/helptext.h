#pragma once
// The help texts of hollenby-level, printed by --help and "help COMMAND" and made into its man
// page. Every line fits 80 columns, as terminals and man page generators expect.

#include "command.h"

#include <QString>

namespace hollenby::cli {

inline constexpr int kHelpColumns = 80;

// `text` broken at spaces into lines of at most kHelpColumns, each ending in "\n"; the first
// starts after `first` (already on the line), the others with `indent` spaces. A word longer
// than a line stands alone.
QString WrapHelp(const QString& text, const QString& first = {}, int indent = 0);

// The program's usage, its commands and its exit statuses.
QString GeneralHelp();

// What "help" itself does, for "help help".
QString HelpOfHelp();

// One command's usage, summary, options and arguments.
QString CommandHelp(const Command& command);

} // namespace hollenby::cli
