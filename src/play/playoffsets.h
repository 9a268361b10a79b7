#pragma once
// Scroll offset arithmetic of playback. Offsets are signed 32-bit values; a result that would
// leave that range is a run-time failure (error 6), never a silent wrap, so that a level too long
// to play ends its playback with a message instead of scrolling through garbage.

#include "runtimeerror.h"

#include <cstdint>

namespace hollenby::play {

inline std::int32_t AddOffsets(std::int32_t a, std::int32_t b)
{
    std::int32_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        throw ui::RuntimeError::Overflow();
    return sum;
}

inline std::int32_t SubtractOffsets(std::int32_t a, std::int32_t b)
{
    std::int32_t difference = 0;
    if (__builtin_sub_overflow(a, b, &difference))
        throw ui::RuntimeError::Overflow();
    return difference;
}

inline std::int32_t MultiplyOffsets(std::int32_t a, std::int32_t b)
{
    std::int32_t product = 0;
    if (__builtin_mul_overflow(a, b, &product))
        throw ui::RuntimeError::Overflow();
    return product;
}

// A count taken as a 64-bit number (a line count), held in 32 bits.
inline std::int32_t NarrowCount(std::int64_t count)
{
    std::int32_t narrow = 0;
    if (__builtin_mul_overflow(count, 1, &narrow))
        throw ui::RuntimeError::Overflow();
    return narrow;
}

} // namespace hollenby::play
