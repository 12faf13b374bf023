// Scaled integer arithmetic with the system's rounding (halves away from zero).
#include "widgets/MulDiv.h"

#include <limits>

namespace widgets {

std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c) {
  if (c == 0) return -1;
  const std::int64_t product = std::int64_t{a} * std::int64_t{b};
  const bool negative = (product < 0) != (c < 0);
  // |a*b| is at most 2^62, |c| at most 2^31: the magnitudes fit in 64 bits without overflow.
  const std::uint64_t magnitude =
      product < 0 ? 0 - static_cast<std::uint64_t>(product) : static_cast<std::uint64_t>(product);
  const std::uint64_t divisor =
      c < 0 ? 0 - static_cast<std::uint64_t>(std::int64_t{c}) : static_cast<std::uint64_t>(c);
  const std::uint64_t quotient = (magnitude + divisor / 2) / divisor;
  if (quotient > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) return -1;
  const auto result = static_cast<std::int32_t>(quotient);
  return negative ? -result : result;
}

} // namespace widgets
