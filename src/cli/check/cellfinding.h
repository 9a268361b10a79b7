#pragma once
// What a drawn cell that is no tile code says, in the one voice check, export and info share:
// a blank slot written on purpose is no finding, a code written loosely or mistyped is.

#include "findingkinds.h"

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace hollenby::cli {

// The two ways of writing a blank slot on purpose: an empty cell ("01,,03"), and "00", which
// import writes for an empty map cell.
bool IsBlankOnPurpose(std::string_view cell);

// The one tile code a two-character cell reads as with each character that looks like a digit
// read as that digit ("0l" and "O1" as 01, "9B" as 98); empty when it reads as none, or is one.
std::string LookAlikeCode(std::string_view cell);

// The tile code a cell holds once its spaces and tabs are taken out (" 01 ", "0\t2"); empty when
// it has none, or holds no code without them.
std::string CodeWithoutBlanks(std::string_view cell);

struct CellFinding
{
    const FindingKind* kind; // finding::kWhitespace or finding::kUnknownCode
    QString message;         // the cell quoted, and what it is read as
    std::size_t at = 0;      // where in the cell the finding points, counting bytes from 0
};

// Nothing for a tile code or a blank slot written on purpose; else the finding: a code with a
// space or tab in its cell ("whitespace"), or any other text ("unknown-code"), with the code
// most likely meant when there is exactly one.
std::optional<CellFinding> FindingOfCell(std::string_view cell);

} // namespace hollenby::cli
