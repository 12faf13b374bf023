// One line of the installation plan, "type,name,subfolder,size", read the same way by every step
// that uses it (extraction, shortcuts, the run's log).
#pragma once

#include <cstdint>
#include <string>

namespace engine {

// A plan entry's fields: "type,name,subfolder,size". The type, the subfolder and the size never
// hold a comma, so the name is everything between the first comma and the second-last one, even
// when the archive stores a name with commas in it.
struct PlanEntry {
  std::string type;
  std::string name;
  std::string subfolder;
  std::string size;
};
PlanEntry SplitPlanEntry(const std::string& line);

// The plan entry's size field as a number of bytes (0 to 4294967295, as the plan writes it);
// EConvertError for any other text.
std::uint32_t PlanEntrySize(const std::string& text);

} // namespace engine
