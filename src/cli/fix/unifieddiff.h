#pragma once
// What a fix changes, as a unified diff: the form patch, git and code-review tools read.

#include "textedit.h"

#include <QByteArray>
#include <QString>

#include <string_view>
#include <vector>

namespace hollenby::cli {

struct DiffStyle
{
    // For a terminal: each line's text escaped as Printable escapes it (its CR LF end not shown,
    // since that is how every line of a level ends), so that nothing in a level can steer the
    // terminal. Otherwise each line is given byte for byte, so that patch can apply the diff.
    bool escaped = false;
    bool colour = false; // as git colours a diff
};

// The diff of `before` and `before` with `edits` made (in order of offset, not overlapping),
// with three lines of context; lines end after each LF, as diff and patch count them. `name`
// stands on the "---" and "+++" lines. Empty when there are no edits.
QByteArray UnifiedDiff(std::string_view before, const std::vector<TextEdit>& edits,
                       const QString& name, DiffStyle style);

} // namespace hollenby::cli
