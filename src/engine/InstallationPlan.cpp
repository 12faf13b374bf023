// Building the installation plan from the chosen typed entries and the payload archive listing.
#include "engine/InstallationPlan.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace engine {
namespace {

// One archive entry as the matching needs it. Names are lower-cased once per plan into one
// shared buffer, so matching many typed entries against many archive entries allocates nothing.
struct ListedEntry {
  std::size_t lowerAt;     // into the shared buffer
  std::size_t length;      // of the name
  const std::string* name; // as stored, owned by the archive's entries
  std::uint32_t size;      // uncompressed
};

struct Listing {
  std::string lowerNames;
  std::vector<ListedEntry> entries;

  std::string_view lowerName(const ListedEntry& entry) const {
    return std::string_view(lowerNames).substr(entry.lowerAt, entry.length);
  }
};

Listing listArchive(const TZipEntries& entries) {
  Listing listing;
  const int count = entries.Count();
  std::size_t bytes = 0;
  for (int i = 0; i < count; ++i) bytes += entries[i].CentralRecord.FileName.size();
  listing.lowerNames.resize(bytes);
  listing.entries.reserve(static_cast<std::size_t>(count));
  char* out = listing.lowerNames.data();
  std::size_t at = 0;
  for (int i = 0; i < count; ++i) {
    const TCentralDirectoryFile& record = entries[i].CentralRecord;
    const std::string& name = record.FileName;
    listing.entries.push_back({at, name.size(), &name, record.UncompressedSize});
    for (std::size_t k = 0; k < name.size(); ++k) out[at + k] = LowerAZ(name[k]);
    at += name.size();
  }
  return listing;
}

} // namespace

std::string LowerAZ(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = LowerAZ(c);
  return lower;
}

PatternRule::PatternRule(std::string_view pattern) {
  const std::size_t star = pattern.find('*');
  Prefix = LowerAZ(pattern.substr(0, star));
  const auto stars = std::count(pattern.begin(), pattern.end(), '*');
  SuffixTest = stars == 1 && Prefix.find('.') == std::string::npos;
  Suffix = LowerAZ(pattern.size() > 4 ? pattern.substr(pattern.size() - 4) : pattern);
}

bool PatternRule::Selects(std::string_view lowerName) const {
  if (lowerName.size() < Prefix.size() ||
      std::memcmp(lowerName.data(), Prefix.data(), Prefix.size()) != 0)
    return false;
  if (!SuffixTest) return true;
  const std::string_view tail =
      lowerName.size() > 4 ? lowerName.substr(lowerName.size() - 4) : lowerName;
  return tail == Suffix;
}

std::int32_t ProgressScaleMax(double totalSize) {
  const double units = totalSize / kProgressUnit;
  if (!(units > 0.0)) return 0;
  const double whole = std::floor(units);
  const double fraction = units - whole;
  double rounded = whole;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) rounded = whole + 1.0;
  constexpr double Largest = std::numeric_limits<std::int32_t>::max();
  return rounded >= Largest ? std::numeric_limits<std::int32_t>::max()
                            : static_cast<std::int32_t>(rounded);
}

double BuildInstallationPlan(const PlanControls& controls, TZipArchive& archive) {
  std::vector<std::string>& selection = controls.ListBox1.Items;
  selection.clear();
  const auto& required = controls.GroupLists[0]->Items;
  selection.insert(selection.end(), required.begin(), required.end());
  for (std::size_t group = 0; group < controls.GroupCheckBoxes.size(); ++group) {
    if (!controls.GroupCheckBoxes[group]->Checked) continue;
    const auto& lines = controls.GroupLists[group + 1]->Items;
    selection.insert(selection.end(), lines.begin(), lines.end());
  }

  archive.Open(controls.curDir + kPayloadArchive);

  double total = 0.0;
  std::vector<std::string>& plan = controls.ListBox13.Items;
  plan.clear();
  const Listing listing = listArchive(archive.Entries);
  std::vector<const ListedEntry*> selected;
  selected.reserve(listing.entries.size());
  VelTextHandler& text = controls.NTH;
  for (const std::string& line : selection) {
    const std::string type = text.GetField(line, 0, ",", true);
    const std::string pattern = text.GetField(line, 1, ",", true);
    const std::string subfolder = text.GetField(line, 2, ",", true);
    // A line without its own subfolder field reads field 2 as field 1 again.
    const std::string middle = subfolder == pattern ? ",," : "," + LowerAZ(subfolder) + ",";
    const PatternRule rule(pattern);

    selected.clear();
    for (const ListedEntry& entry : listing.entries)
      if (rule.Selects(listing.lowerName(entry))) selected.push_back(&entry);

    plan.reserve(plan.size() + selected.size());
    for (const ListedEntry* entry : selected) {
      char digits[16];
      const auto end = std::to_chars(digits, digits + sizeof digits, entry->size).ptr;
      const std::size_t digitCount = static_cast<std::size_t>(end - digits);
      std::string& item = plan.emplace_back();
      item.reserve(type.size() + 1 + entry->length + middle.size() + digitCount);
      item += type;
      item += ',';
      item += *entry->name;
      item += middle;
      item.append(digits, digitCount);
      total += static_cast<double>(entry->size);
    }
  }

  archive.Close();

  controls.ProgressBar2.Max = ProgressScaleMax(total);
  controls.ProgressBar2.Step = 1;
  controls.ProgressBar2.Position = 1;
  return total;
}

} // namespace engine
