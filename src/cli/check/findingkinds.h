#pragma once
// The kinds of finding that check reports: each with its stable id, its severity and a few words
// on what it finds. The checker reports through these, and check's help lists them, so the two
// cannot tell different stories.

#include "diagnostic.h"

#include <array>
#include <string_view>

namespace hollenby::cli {

struct FindingKind
{
    const char* id;
    Severity severity;
    const char* what; // short enough for one line of help beside the id and the severity
};

namespace finding {

inline constexpr FindingKind kLineEnd{"line-end", Severity::Error, "a lone LF or lone CR"};
inline constexpr FindingKind kTooManyLines{"too-many-lines", Severity::Error,
                                           "more lines than the editor loads (32768)"};
inline constexpr FindingKind kBinary{"binary", Severity::Error, "a NUL byte: not a text file"};
inline constexpr FindingKind kMissingResources{"missing-resources", Severity::Error,
                                               "the resources folder does not exist"};
inline constexpr FindingKind kMissingBitmap{"missing-bitmap", Severity::Error,
                                            "a code whose bitmap the folder lacks"};
inline constexpr FindingKind kBadBitmap{"bad-bitmap", Severity::Error,
                                        "a bitmap that does not decode or is cut short"};
inline constexpr FindingKind kUnknownCode{"unknown-code", Severity::Warning,
                                          "a cell that is not one of the 22 codes"};
inline constexpr FindingKind kWhitespace{"whitespace", Severity::Warning,
                                         "a code with a space or tab in its cell"};
inline constexpr FindingKind kLongRow{"long-row", Severity::Warning, "a row of more than 8 cells"};
inline constexpr FindingKind kNotARow{"not-a-row", Severity::Warning,
                                      "a line starting with \",\", or too long"};
inline constexpr FindingKind kTrailingEmptyLines{"trailing-empty-lines", Severity::Warning,
                                                 "more than one empty line at the end"};
inline constexpr FindingKind kNoRows{"no-rows", Severity::Error, "no row at all"};
inline constexpr FindingKind kNoTiles{"no-tiles", Severity::Error, "no cell that is a tile code"};
inline constexpr FindingKind kBitmapSize{"bitmap-size", Severity::Warning,
                                         "a bitmap that is not 40 x 40"};
inline constexpr FindingKind kBlankLine{"blank-line", Severity::Note, "blank lines between rows"};

} // namespace finding

// Every kind, in the order the help lists them: errors of the file, then of its cells and
// bitmaps, then warnings and notes.
inline constexpr std::array<const FindingKind*, 15> kFindingKinds{
    &finding::kLineEnd,
    &finding::kTooManyLines,
    &finding::kBinary,
    &finding::kNoRows,
    &finding::kNoTiles,
    &finding::kMissingResources,
    &finding::kMissingBitmap,
    &finding::kBadBitmap,
    &finding::kUnknownCode,
    &finding::kWhitespace,
    &finding::kLongRow,
    &finding::kNotARow,
    &finding::kTrailingEmptyLines,
    &finding::kBitmapSize,
    &finding::kBlankLine,
};

// The kind with the id `id`; null when none has it.
inline const FindingKind* FindFindingKind(std::string_view id)
{
    for (const FindingKind* kind : kFindingKinds) {
        if (id == kind->id)
            return kind;
    }
    return nullptr;
}

} // namespace hollenby::cli
