#pragma once
// The findings of check that have one mechanical answer, as edits that take them away: empty
// lines at the end past the one a final CR LF makes, spaces and tabs in a cell that holds a code
// without them, a code written with look-alike characters ("0l", "O1") that reads as exactly one
// code, and, only when asked, a lone LF or CR made a CR LF. Nothing else is touched: not a cell
// that may mean something else, nor one that is never drawn.

#include "textedit.h"

#include <functional>
#include <string_view>
#include <vector>

namespace hollenby::cli {

struct FixOptions
{
    // Lone LF and CR become CR LF. A lone LF joins the lines around it into one row today, so
    // this changes what the game plays: never done unasked.
    bool lineEnds = false;
    // Whether the findings of a kind are fixed; all are when it is not given.
    std::function<bool(const FindingKind&)> fixes;
};

// The edits that fix `text`, a level's bytes, in order of offset and not overlapping; none for
// a level that needs nothing. The cells and lines are taken as they are once the line ends are
// made CR LF, when that is asked for, so that the fixed level has none of these findings left.
std::vector<TextEdit> LevelFixes(std::string_view text, const FixOptions& options);

} // namespace hollenby::cli
