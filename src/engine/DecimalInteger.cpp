// Reading whole numbers from text without locale, blanks or prefixes.
#include "engine/DecimalInteger.h"

#include "engine/Errors.h"

namespace engine {

std::optional<std::int32_t> DecimalInteger(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  // The magnitude is collected in 64 bits and checked after each digit, so long texts of
  // digits cannot wrap round into range.
  constexpr std::int64_t kMostNegative = 2147483648;
  std::int64_t magnitude = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > kMostNegative) return std::nullopt;
  }
  if (!negative && magnitude == kMostNegative) return std::nullopt;
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

std::int32_t ConvertInteger(const std::string& text) {
  if (std::optional<std::int32_t> number = DecimalInteger(text)) return *number;
  throw EConvertError("'" + text + "' is not a whole number");
}

} // namespace engine
