// Reading a plan entry: its name may hold commas, the other fields never do.
#include "engine/PlanEntry.h"

#include "engine/Errors.h"

#include <charconv>

namespace engine {
namespace {

// The fields of `line` as GetField reads them: an index past the last comma gives the last field.
std::string fieldOf(const std::string& line, std::size_t index) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < index; ++i) {
    const std::size_t comma = line.find(',', start);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  const std::size_t end = line.find(',', start);
  return line.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

} // namespace

PlanEntry SplitPlanEntry(const std::string& line) {
  const std::size_t first = line.find(',');
  const std::size_t last = line.rfind(',');
  const std::size_t secondLast =
      last == std::string::npos || last == 0 ? std::string::npos : line.rfind(',', last - 1);
  if (first == std::string::npos || secondLast == std::string::npos || secondLast <= first)
    return {fieldOf(line, 0), fieldOf(line, 1), fieldOf(line, 2), fieldOf(line, 3)};
  return {line.substr(0, first), line.substr(first + 1, secondLast - first - 1),
          line.substr(secondLast + 1, last - secondLast - 1), line.substr(last + 1)};
}

std::uint32_t PlanEntrySize(const std::string& text) {
  std::uint32_t size = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, size);
  if (text.empty() || error != std::errc() || stop != end)
    throw EConvertError("'" + text + "' is not a whole number");
  return size;
}

} // namespace engine
