#pragma once
// A whole run of check in the formats for machines.

#include "checkrun.h"

#include <QByteArray>

namespace hollenby::cli {

// One JSON object: "files" checked, those "unreadable" (file and reason), "counts" by severity,
// "countsByKind" by id (every finding, shown or not), the "findings" shown, and "notShown":
// for each kind a level had more of than shown, how many more and where the first is.
QByteArray CheckRunJson(const CheckRun& run);

// SARIF 2.1.0, which code-review systems turn into annotations: one run whose tool lists every
// kind of finding as a rule, one result per finding shown; the levels that could not be read
// and the findings not shown are the invocation's notifications.
QByteArray CheckRunSarif(const CheckRun& run);

} // namespace hollenby::cli
