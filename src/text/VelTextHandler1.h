// VelTextHandler: takes apart and rewrites delimited text (fields, counts, prefixes, removal and
// replacement), resolves special system folders, and waits while keeping the window alive.
#pragma once

#include <cstdint>
#include <string>

class VelTextHandler {
public:
  virtual ~VelTextHandler() = default;

  // Properties the property-driven operations work on; reading and writing has no side effect.
  std::string stText;
  std::int32_t Point{0};
  std::string Seperator;
  bool CutOffToNext{false};

  // GetField over the properties.
  virtual std::string Field();
  // Field number `index` (from 0) of `text`, or with cutOffToNext false everything after the
  // index-th separator. An index past the last separator gives the last field.
  virtual std::string GetField(std::string text, std::int32_t index, std::string separator,
                               bool cutOffToNext);
  // `fieldCount` fields from field number `start` on, with the separators between them.
  virtual std::string GetFields(std::string text, std::int32_t start, std::int32_t fieldCount,
                                std::string separator);
  // RemoveAll over the properties.
  virtual std::string Remove();
  virtual std::string RemoveAll(std::string text, std::string pattern);
  virtual std::string ReplaceAll(std::string text, std::string pattern, std::string replacement);
  // CountOf over the properties.
  virtual std::int32_t Count();
  virtual std::int32_t CountOf(std::string text, std::string pattern);
  // StartsWith over the properties.
  virtual bool Starts();
  virtual bool StartsWith(std::string text, std::string prefix);
  // The path of a named system folder, lower case, ending in a backslash.
  virtual std::string SpecialFolder(std::string name);

  // Waits `seconds` while the window system keeps handling messages.
  static void WaitSeconds(std::int32_t seconds);
};
