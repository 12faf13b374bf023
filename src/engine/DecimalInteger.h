// Whole numbers written in script and list texts: plain signed decimal that fits in 32 bits.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace engine {

// An optional sign ("-" or "+") and one or more digits 0-9, nothing else (no blanks, no hex
// prefix), within -2147483648 to 2147483647; nothing for any other text.
std::optional<std::int32_t> DecimalInteger(std::string_view text);

// DecimalInteger, or an EConvertError naming the text.
std::int32_t ConvertInteger(const std::string& text);

} // namespace engine
