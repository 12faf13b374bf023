// The installation plan: the typed entries chosen for this installation, matched against the
// payload archive's entries into the extraction list, and the overall progress bar's scale.
#pragma once

#include "app/Controls.h"
#include "engine/ZipArchive.h"
#include "text/VelTextHandler1.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace engine {

// Name of the payload archive in the source folder.
inline constexpr const char* kPayloadArchive = "setup.qfs";
// The overall progress bar counts in units of this many bytes.
inline constexpr double kProgressUnit = 32768.0;

// Lower case for the letters A to Z only; every other byte stays as it is.
inline char LowerAZ(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
std::string LowerAZ(std::string_view text);

// How an entry line's pattern selects archive entries: a name selects when its lower-cased
// start equals Prefix and, with SuffixTest, its lower-cased last four characters (the whole
// name when shorter) equal Suffix.
struct PatternRule {
  std::string Prefix;
  bool SuffixTest{false};
  std::string Suffix;

  explicit PatternRule(std::string_view pattern);
  // `lowerName` is the archive entry's name already lower-cased with LowerAZ.
  bool Selects(std::string_view lowerName) const;
};

// The progress bar maximum for a total size: total / kProgressUnit rounded to the nearest
// integer with halves to the even neighbour, kept within the bar's range.
std::int32_t ProgressScaleMax(double totalSize);

// The controls the plan reads and writes.
struct PlanControls {
  app::TListBox& ListBox1;                         // selection list, rewritten
  std::array<app::TListBox*, 11> GroupLists;       // ListBox2 (required), then ListBox3..12
  std::array<app::TCheckBox*, 10> GroupCheckBoxes; // the ticks of groups 1 to 10
  app::TListBox& ListBox13;                        // extraction list, rewritten
  app::TProgressBar& ProgressBar2;                 // overall bar, scaled
  const std::string& curDir;                       // source folder, ending in a backslash
  VelTextHandler& NTH;
};

// Fills ListBox1 with the required and ticked typed entries, lists curDir + "setup.qfs" with
// `archive`, writes one plan entry per selected archive entry to ListBox13 ("type,name,,size"
// or "type,name,subfolder,size") and scales ProgressBar2. Returns the total size. A missing
// archive raises the reader's not-found error, leaving ListBox13 as it was.
double BuildInstallationPlan(const PlanControls& controls, TZipArchive& archive);

} // namespace engine
