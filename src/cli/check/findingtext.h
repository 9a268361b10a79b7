#pragma once
// Findings as lines of text, as compilers print them: "FILE:LINE:COLUMN: severity: message
// [id]", coloured as compilers colour them when asked, and escaped so that nothing from a file
// reaches a terminal as it is. The note standing in for the findings not shown names their kind
// without brackets: counting "[id]" counts findings, and only findings.

#include "findinglist.h"

#include <QString>

#include <functional>

namespace hollenby::cli {

QString FindingLine(const Finding& finding, bool colour = false);

// "150 more unknown-code findings not shown; the first is here".
QString HiddenMessage(const HiddenFindings& hidden);

// "FILE:LINE:COLUMN: note: " and the HiddenMessage.
QString HiddenLine(const HiddenFindings& hidden, bool colour = false);

// Every line about one level, findings and the notes for those not shown in file order, each
// ending in "\n"; only those of a severity `keep` takes, when it is given.
QString FindingLines(const LevelFindings& found, bool colour = false,
                     const std::function<bool(Severity)>& keep = {});

} // namespace hollenby::cli
