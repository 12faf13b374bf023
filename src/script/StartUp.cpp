// Start-up: the window's first activation finds the source folder, loads icon, logo and licence,
// decides between install and uninstall mode and reads setup.ini into the controls.
#include "app/FileBytes.h"
#include "app/Installer.h"
#include "platform/CommandLine.h"
#include "platform/Files.h"
#include "platform/System.h"
#include "platform/Ui.h"
#include "script/JoinedCommandLine.h"
#include "script/ScriptText.h"

#include <limits>

namespace app {

namespace {

// The program file is "setup.exe": its path less these many characters is its folder.
constexpr std::size_t kProgramNameLength = 9;

constexpr std::int32_t kMaxGroups = 10;

void errorBox(const std::string& text) {
  platform::ui().messageBox(text, "Error", platform::MessageIcon::Error,
                            platform::MessageButtons::Ok);
}

// numerator / denominator rounded to the nearest whole number, halves to the even one.
std::int32_t roundHalfEven(std::int64_t numerator, std::int64_t denominator) {
  std::int64_t quotient = numerator / denominator;
  const std::int64_t twice = 2 * (numerator % denominator);
  if (twice > denominator || (twice == denominator && quotient % 2 != 0)) ++quotient;
  return static_cast<std::int32_t>(quotient);
}

struct TypedKey {
  const char* key;
  const char* prefix;
};
constexpr TypedKey kTypedKeys[] = {{"file", "0,"}, {"startup", "1,"}, {"scr", "2,"}, {"app", "3,"}};

} // namespace

void TForm1::FormActivate() {
  // Start-up sets this caption itself from the script. A script without a name must not make
  // every later activation start over (back to the first page, every entry read twice).
  if (startedUp || progName.Caption != "ProgName") return;
  startedUp = true;
  dirCreated = false;
  Notebook1.SetPageIndex(page::Welcome);

  const std::string ownPath = platform::programPath();
  curDir.Caption = ownPath.size() > kProgramNameLength
                       ? ownPath.substr(0, ownPath.size() - kProgramNameLength)
                       : std::string();
  SystemFolder = NTH.SpecialFolder("system32");
  DirectoryEdit1.Text = NTH.SpecialFolder("ProgramFiles");

  // Branding is decoration: a file that is not a readable picture of its kind is passed over.
  if (platform::fileExists(curDir.Caption + "\\setup.ico"))
    Image1.LoadFromFile(curDir.Caption + "\\setup.ico");
  for (const char* logo : {"\\logo.bmp", "\\logo.jpg", "\\logo.jpeg", "\\logo.gif"})
    if (platform::fileExists(curDir.Caption + logo)) Image2.LoadFromFile(curDir.Caption + logo);
  FitLogo();

  const std::string joined = script::JoinedCommandLine(platform::commandLine());
  const std::string lowered = script::LowerAscii(joined);
  const bool uninstallMode = lowered.compare(0, 10, "/uninstall") == 0;
  if (uninstallMode) {
    Notebook1.SetPageIndex(page::UnWelcome);
    // Position 15 up to the blank that joining appended.
    curDir.Caption = joined.size() > 15 ? joined.substr(14, joined.size() - 15) : std::string();
    if (!platform::fileExists(curDir.Caption + "\\setup.ini")) {
      errorBox("Error in locating Uninstall components!");
      // No installed-programs entry is removed here: the name it was registered under comes from
      // the script that is missing, and any other key would be someone else's.
      Timer2.SetEnabled(true);
      return;
    }
  }
  dirCreated = lowered.size() >= 13 && lowered[12] == '1';

  if (platform::fileExists(curDir.Caption + "\\agreement.txt")) {
    const std::optional<std::string> licence = ReadFileBytes(curDir.Caption + "\\agreement.txt");
    if (licence) {
      Memo1.Lines = script::TextLines(*licence);
    } else if (!uninstallMode) {
      // The user must not agree to a licence other than the one shipped with the application.
      errorBox("Error in locating Setup components!");
      Timer2.SetEnabled(true);
      return;
    }
  }

  if (!platform::fileExists(curDir.Caption + "\\setup.ini")) {
    errorBox("Error in locating Setup components!");
    Timer2.SetEnabled(true);
    return;
  }
  const std::optional<std::string> text = ReadFileBytes(curDir.Caption + "\\setup.ini");
  const std::vector<std::string> lines = script::TextLines(text.value_or(std::string()));
  if (!text || !script::IsScriptHeader(lines.front())) {
    errorBox("Error in INI file!\r\nSetup must close.");
    platform::exitProgram(0);
  }
  ScriptReading reading{uninstallMode, 0};
  if (lines.size() == 1) ReadStatement(std::string(), reading);
  for (std::size_t i = 1; i < lines.size(); ++i) ReadStatement(lines[i], reading);
  FinishScript(reading);
}

void TForm1::ReadStatement(const std::string& line, ScriptReading& reading) {
  const script::Statement statement = script::SplitStatement(NTH, line);
  const std::string& key = statement.key;
  const std::string& value = statement.value;

  if (key == "progname") progName.Caption = value;
  if (key == "version") {
    Label1.Caption =
        progName.Caption + " v" + value + (reading.uninstallMode ? " Uninstall" : " Setup");
    Label4.Caption += progName.Caption + " setup program.";
    DirectoryEdit1.Text += progName.Caption;
    Edit1.Text = progName.Caption;
  }
  if (key == "feedback" && reading.uninstallMode) {
    const std::string before = NTH.GetField(value, 0, "|", true);
    const std::string after = NTH.GetField(value, 1, "|", true);
    Label37.Caption = before.empty() ? "None" : before;
    if (!after.empty()) Label37.Caption = after;
  }
  if (key == "company") {
    DirectoryEdit1.Text += value + "\\";
    Label39.Caption = value;
  }
  if (key == "scr") DirectoryEdit1.Text = SystemFolder;
  if (!value.empty() && value.front() == '[') {
    const std::string section = script::LowerAscii(value);
    if (section != "[registry]" && section != "[minimal]") {
      if (reading.groups < std::numeric_limits<std::int32_t>::max()) ++reading.groups;
      if (reading.groups <= kMaxGroups)
        GroupCheckBoxes()[static_cast<std::size_t>(reading.groups - 1)]->Caption =
            value.size() >= 2 ? value.substr(1, value.size() - 2) : std::string();
    }
  }
  for (const TypedKey& typed : kTypedKeys) {
    if (key != typed.key) continue;
    // Entry lines under an 11th or later group belong to no list.
    if (reading.groups <= kMaxGroups)
      GroupLists()[static_cast<std::size_t>(reading.groups)]->Items.push_back(typed.prefix + value);
  }
  if (key == "key") ListBox14.Items.push_back(value);
}

void TForm1::FinishScript(const ScriptReading& reading) {
  const auto boxes = GroupCheckBoxes();
  for (std::int32_t group = 0; group < reading.groups && group < kMaxGroups; ++group)
    boxes[static_cast<std::size_t>(group)]->Visible = true;
}

void TForm1::FitLogo() {
  if (Image2.Height > kLogoMaxHeight) {
    Image2.AutoSize = false;
    RxLabel1.Visible = false;
    const std::int32_t width =
        roundHalfEven(std::int64_t{Image2.Width} * kLogoMaxHeight, std::int64_t{Image2.Height});
    Image2.Height = kLogoMaxHeight;
    Image2.Width = width;
    Image2.Stretch = true;
  }
  Image2.Left = Width - Image2.Width - 15;
}

} // namespace app
