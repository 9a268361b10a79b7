#pragma once
// A change to a text: bytes replaced by others at a place of the text as it was.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace hollenby::cli {

struct FindingKind;

struct TextEdit
{
    std::size_t offset = 0;            // in the text before any edit
    std::size_t length = 0;            // bytes replaced
    std::string text;                  // what replaces them
    const FindingKind* kind = nullptr; // the kind of finding the edit takes away
};

// `text` with `edits` made; the edits are in order of offset and do not overlap.
inline std::string ApplyEdits(std::string_view text, const std::vector<TextEdit>& edits)
{
    std::string edited;
    edited.reserve(text.size());
    std::size_t from = 0;
    for (const TextEdit& edit : edits) {
        edited.append(text.substr(from, edit.offset - from));
        edited.append(edit.text);
        from = edit.offset + edit.length;
    }
    edited.append(text.substr(from));
    return edited;
}

} // namespace hollenby::cli
