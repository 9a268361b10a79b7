#include "playtime.h"

#include <cmath>

namespace hollenby {

std::optional<std::int16_t> EstimatedSeconds(std::int64_t lineCount)
{
    // nearbyint rounds in the default mode, to nearest with halves to even: 4.5 gives 4.
    const double seconds = std::nearbyint(static_cast<double>(lineCount) * 0.045);
    if (seconds > 32767.0 || seconds < -32768.0)
        return std::nullopt;
    return static_cast<std::int16_t>(seconds);
}

} // namespace hollenby
