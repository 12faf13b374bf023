// The page flow: Next (or Finish), Back, and the button states that every page change sets.
#include "app/Installer.h"
#include "platform/Files.h"
#include "platform/Ui.h"

namespace app {

void TForm1::Button2Click() {
  const bool finish = Button2.Caption == "Finish";
  if (finish && Notebook1.PageIndex() == page::Finished && CheckBox6.Checked && RunFinishActions)
    RunFinishActions();
  if (finish) platform::exitProgram(0);

  if (Notebook1.PageIndex() == page::Location && !platform::directoryExists(DirectoryEdit1.Text)) {
    // The folder is made by the installation run, not here.
    const platform::MessageAnswer answer = platform::ui().messageBox(
        "This folder does not currently exist, ok to create it?", "Confirm",
        platform::MessageIcon::Question, platform::MessageButtons::YesNo);
    if (answer != platform::MessageAnswer::Yes) return;
  }

  // Without component groups there is no Type page; without feedback no Un-Feedback page.
  const std::int32_t current = Notebook1.PageIndex();
  if (current == page::Location && !CheckBox2.Visible)
    Notebook1.SetPageIndex(page::Folder);
  else if (current == page::UnWelcome && Label37.Caption == "None")
    Notebook1.SetPageIndex(page::UnInstall);
  else
    Notebook1.SetPageIndex(current + 1);

  // The page reached decides what this click goes on to do.
  if (Notebook1.PageIndex() == page::Summary) FillSummary();
  if (Notebook1.PageIndex() == page::UnInstall && RunUninstall) RunUninstall();
  if (Notebook1.PageIndex() == page::Install && RunInstallation) RunInstallation();
}

void TForm1::Button3Click() {
  if (Notebook1.PageIndex() == page::Folder && !CheckBox2.Visible)
    Notebook1.SetPageIndex(page::Location);
  else
    Notebook1.SetPageIndex(Notebook1.PageIndex() - 1);
}

void TForm1::Notebook1PageChanged() {
  const std::int32_t current = Notebook1.PageIndex();
  Button3.Enabled = current >= page::License && current <= page::Summary;
  if (current == page::Install || current == page::UnInstall) Button2.Enabled = false;
  Button2.Caption = (current == page::Finished || current == page::UnFinished) ? "Finish" : "Next";
  if (current == page::License) {
    Button2.Enabled = CheckBox1.Checked;
    ActiveControl = &Memo1;
  }
  if (current == page::Welcome) Button2.Enabled = true;
}

} // namespace app
