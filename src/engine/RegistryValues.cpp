// Writing the script's registry lines into the registry and deleting their keys again.
#include "engine/RegistryValues.h"

#include "engine/DecimalInteger.h"
#include "platform/Registry.h"

#include <cstdint>
#include <exception>
#include <string_view>

namespace engine {
namespace {

// The four comma-separated fields of a registry line, and its root name and key path.
struct RegistryLine {
  std::string key;  // field 0: root name, "\", key path
  std::string type; // field 1
  std::string name; // field 2
  std::string data; // field 3
  std::string rootName;
  std::string keyPath;

  // The text a failing line leaves in the run's error text.
  std::string errorText() const { return key + "\\" + name; }
};

RegistryLine readLine(VelTextHandler& nth, const std::string& line) {
  RegistryLine r;
  r.key = nth.GetField(line, 0, ",", true);
  r.type = nth.GetField(line, 1, ",", true);
  r.name = nth.GetField(line, 2, ",", true);
  r.data = nth.GetField(line, 3, ",", true);
  r.rootName = nth.GetField(r.key, 0, "\\", true);
  // Everything after the first backslash; without one, the whole of field 0.
  r.keyPath = nth.GetField(r.key, 1, "\\", false);
  return r;
}

// Only the two exact names select a root; any other name keeps the root of the line before.
void selectRoot(const RegistryLine& line, platform::RegRoot& root) {
  if (line.rootName == "HKEY_LOCAL_MACHINE") root = platform::RegRoot::LocalMachine;
  if (line.rootName == "HKEY_CURRENT_USER") root = platform::RegRoot::CurrentUser;
}

std::string lowerAZ(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

// Writes the line's value into its open (or unopened) key; false when a value should have been
// written and was not.
bool writeValue(platform::RegKey& key, const RegistryLine& line) {
  const std::string type = lowerAZ(line.type);
  if (type == "bool") {
    const std::string data = lowerAZ(line.data);
    if (data == "true") return key.writeDword(line.name, 1);
    if (data == "false") return key.writeDword(line.name, 0);
    return true;
  }
  if (type == "string") return key.writeString(line.name, line.data);
  if (type == "integer") {
    const std::optional<std::int32_t> number = DecimalInteger(line.data);
    return number && key.writeDword(line.name, static_cast<std::uint32_t>(*number));
  }
  return true;
}

// A key path an uninstall may delete: at least two levels below the root. A root's first-level
// keys are shared by everything on the machine (Software, Control Panel, and under the machine
// root the hives themselves); a path of backslashes alone would name the root.
bool deletableKeyPath(std::string_view path) {
  int levels = 0;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) ++levels;
    start = end + 1;
  }
  return levels >= 2;
}

} // namespace

void WriteRegistryValues(app::TForm1& form) {
  form.Label23.Caption = kCreatingRegistryKeys;
  platform::RegRoot root = platform::RegRoot::CurrentUser;
  for (const std::string& text : form.ListBox14.Items) {
    const RegistryLine line = readLine(form.NTH, text);
    selectRoot(line, root);
    bool written = false;
    try {
      platform::RegKey key = platform::RegKey::open(root, line.keyPath, true);
      written = writeValue(key, line);
    } catch (const std::exception&) {
      written = false;
    }
    if (!written) form.ErrorText = line.errorText();
  }
}

void RemoveRegistryKeys(app::TForm1& form) {
  platform::RegRoot root = platform::RegRoot::CurrentUser;
  for (const std::string& text : form.ListBox14.Items) {
    const RegistryLine line = readLine(form.NTH, text);
    selectRoot(line, root);
    try {
      // Whether the key went is not examined: a key already gone is nothing to report.
      if (deletableKeyPath(line.keyPath)) platform::RegKey::deleteKeyTree(root, line.keyPath);
    } catch (const std::exception&) {
      form.ErrorText = line.errorText();
    }
  }
}

} // namespace engine
