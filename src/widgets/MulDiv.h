// Scaled integer arithmetic with the system's rounding, used for band edges and colour steps.
#pragma once

#include <cstdint>

namespace widgets {

// a * b / c over a 64-bit intermediate, rounded to nearest with halves away from zero.
// Returns -1 when c is 0 or the result's magnitude exceeds 2^31 - 1, as the system call does.
std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c);

} // namespace widgets
