// TForm1, the installer's one window, as a model: every named control with its state, the flags
// of the window's unit, and the handlers that the window's events call.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/Controls.h"
#include "text/VelTextHandler1.h"
#include "widgets/NetGradient.h"

class TZipArchive;
struct UnZipParams;
namespace engine {
class UnzipProgress;
} // namespace engine

namespace app {

// Texts and numbers the window is built with.
inline constexpr const char* kWindowCaption = "Quillfern Installer v1.20";
inline constexpr std::int32_t kOuterWidth = 510;
inline constexpr std::int32_t kClientWidth = 504;
inline constexpr std::int32_t kClientHeight = 345;
inline constexpr std::int32_t kLogoMaxHeight = 43;
inline constexpr int kTimer2Id = 2;

// Page numbers of the page book.
namespace page {
inline constexpr std::int32_t Welcome = 0;
inline constexpr std::int32_t License = 1;
inline constexpr std::int32_t Location = 2;
inline constexpr std::int32_t Type = 3;
inline constexpr std::int32_t Folder = 4;
inline constexpr std::int32_t Summary = 5;
inline constexpr std::int32_t Install = 6;
inline constexpr std::int32_t Finished = 7;
inline constexpr std::int32_t UnWelcome = 8;
inline constexpr std::int32_t UnFeedback = 9;
inline constexpr std::int32_t UnInstall = 10;
inline constexpr std::int32_t UnFinished = 11;
} // namespace page

class TForm1 {
public:
  TForm1();
  ~TForm1();
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  // --- The window itself.
  std::string Caption{kWindowCaption};
  std::int32_t Width{kOuterWidth};
  std::int32_t ClientWidth{kClientWidth};
  std::int32_t ClientHeight{kClientHeight};
  TColor Color;
  TFont Font;
  platform::Cursor Cursor{platform::Cursor::Default};
  // The control that has the keyboard focus (nullptr: the window decides).
  const TControl* ActiveControl{nullptr};

  // --- Header.
  widgets::TNetGradient NetGradient2;
  TShape Shape1;
  TShape Shape2;
  TLabel Label1;
  TImage Image1;
  TImage Image2;

  // --- Link line.
  TRxLabel RxLabel1;
  widgets::TNetGradient NetGradient3;
  widgets::TNetGradient NetGradient4;

  // --- Page area.
  TNotebook Notebook1;

  // Page 0, Welcome.
  TLabel Label4;
  TLabel Label5;
  // Page 1, License.
  TLabel Label2;
  TMemo Memo1;
  TCheckBox CheckBox1;
  // Page 2, Location.
  TLabel Label3;
  TLabel Label6;
  TDirectoryEdit DirectoryEdit1;
  // Page 3, Type.
  TLabel Label7;
  TRadioButton RadioButton3;
  TRadioButton RadioButton2;
  TRadioButton RadioButton1;
  TCheckBox CheckBox8;
  TCheckBox CheckBox2, CheckBox3, CheckBox4, CheckBox5, CheckBox7;
  TCheckBox CheckBox11, CheckBox12, CheckBox13, CheckBox14, CheckBox15;
  TListBox ListBox2, ListBox3, ListBox4, ListBox5, ListBox6, ListBox7;
  TListBox ListBox8, ListBox9, ListBox10, ListBox11, ListBox12;
  // Page 4, Folder.
  TLabel Label8;
  TLabel Label9;
  TEdit Edit1;
  TShellListView dirlist1;
  TCheckBox CheckBox9;
  // Page 5, Summary.
  TLabel Label10;
  TLabel Label16, Label17, Label18, Label19;
  TLabel Label11, Label20, Label21, Label22;
  // Page 6, Install.
  TLabel Label12;
  TLabel Label23;
  TLabel Label13;
  TProgressBar ProgressBar1;
  TLabel Label14;
  TProgressBar ProgressBar2;
  TListBox ListBox1, ListBox13, ListBox14;
  // Page 7, Finished.
  TLabel Label15;
  TLabel Label24;
  TCheckBox CheckBox6;
  // Page 8, Un-Welcome.
  TLabel Label33;
  TLabel Label32;
  // Page 9, Un-Feedback.
  TLabel Label36;
  TLabel Label26;
  TLabel Label38;
  TMemo Memo2;
  TLabel Label37;
  TLabel Label39;
  // Page 10, Un-Install.
  TLabel Label31;
  TImage Image3, Image4, Image5;
  TLabel Label27, Label28, Label29;
  TImage Image6, Image7, Image8;
  TGifAnimator RxGIF;
  TLabel Label30;
  TProgressBar ProgressBar3;
  // Page 11, Un-Finished.
  TLabel Label34;
  TLabel Label35;

  // --- Button bar.
  TPanel Panel1;
  widgets::TNetGradient NetGradient1;
  TButton Button1; // Cancel
  TButton Button3; // Back
  TButton Button2; // Next, or Finish

  // --- Hidden controls that hold the program's variables.
  TLabel curDir;
  TLabel progName;
  TLabel Tasks;
  TFileListBox FileListBox1;

  // --- Components.
  VelTextHandler NTH;
  TTimer Timer2{kTimer2Id};
  // The page-source fetcher, set by the uninstaller; FormDestroy frees it.
  std::unique_ptr<TComponent> bSource1;
  // The installation engine's parts: the archive directory reader, the unzip library's
  // parameter record and the state its callback keeps between calls. The engine makes them
  // (engine/InstallationRun.cpp) when it binds its run, so the model needs none of its code.
  std::shared_ptr<TZipArchive> ZipArchive1;
  std::shared_ptr<::UnZipParams> UnZipParams;
  std::shared_ptr<engine::UnzipProgress> UnZipProgress;
  // Sets the record's switches, with this window as the caller and engine::UnZipCallback as the
  // callback (defined by the engine).
  void SetUnZipSwitches();

  // --- State of the window's unit.
  // The installation created a folder of the installation path (from the command line in
  // uninstall mode); carried to the uninstaller in its command line.
  bool dirCreated{false};
  // The system folder, kept by start-up for `scr` lines.
  std::string SystemFolder;
  // Start-up has run: it runs at the first activation only.
  bool startedUp{false};
  // The running installation's or uninstallation's record of its last failure; its final page
  // shows it in a warning.
  std::string ErrorText;

  // The ten group check boxes and the eleven group lists (required components first), in
  // group order.
  std::array<TCheckBox*, 10> GroupCheckBoxes();
  std::array<TListBox*, 11> GroupLists();

  // --- The long runs. The installation engine and the uninstaller fill these in; until they
  // do, reaching one does nothing at all.
  std::function<void()> RunInstallation;
  std::function<void()> RunUninstall;
  std::function<void()> RunFinishActions;

  // --- Event handlers.
  void FormActivate();
  void FormDestroy();
  void Button1Click();
  void Button2Click();
  void Button3Click();
  void Notebook1PageChanged();
  void RadioButton1Click();
  void RadioButton2Click();
  void RadioButton3Click();
  void CheckBox1Click();
  void dirlist1Click();
  void RxLabel1MouseMove();
  void RxLabel1Click();
  void Timer2Timer();

  // Shows the Summary page's values as they are now.
  void FillSummary();
  // Fills the Folder page's list with the folders of the user's Start-menu Programs folder, as
  // the shell view does when it is created.
  void FillProgramFolders();
  // The pointer over the window, shown at once.
  void SetCursor(platform::Cursor cursor);

  // --- Start-up's steps.
  // Where the reading of setup.ini stands: the mode it is read for and the groups counted.
  struct ScriptReading {
    bool uninstallMode{false};
    std::int32_t groups{0};
  };
  // Applies one statement (a line after the header) of setup.ini.
  void ReadStatement(const std::string& line, ScriptReading& reading);
  // After the last statement: shows the check boxes of the groups read.
  void FinishScript(const ScriptReading& reading);
  // Shrinks a logo taller than the header to its height and aligns it to the right edge.
  void FitLogo();
};

} // namespace app
