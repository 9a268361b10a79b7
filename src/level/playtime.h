#pragma once
// The play-time estimate the editor shows beside the render view, shared with the command line
// so that both give the same number for the same level.

#include <cstdint>
#include <optional>

namespace hollenby {

// 0.045 s per line (blank lines and the empty piece after a final CR LF included), rounded half
// to even. Nothing when the result leaves the signed 16-bit range the label's number is held in.
std::optional<std::int16_t> EstimatedSeconds(std::int64_t lineCount);

} // namespace hollenby
