// The Folder page's list of Start-menu program folders and the Summary page's values.
#include "app/Installer.h"
#include "platform/Ui.h"

namespace app {

void TForm1::FillProgramFolders() {
  dirlist1.Items.clear();
  for (const std::string& name : platform::ui().programsMenuFolders())
    dirlist1.Items.push_back(TShellListView::Item{name, false});
}

void TForm1::dirlist1Click() {
  for (const TShellListView::Item& item : dirlist1.Items)
    if (item.Selected) Edit1.Text = item.DisplayName;
}

void TForm1::FillSummary() {
  Label11.Caption = DirectoryEdit1.Text;
  Label20.Caption = "Full Installation";
  if (RadioButton3.Checked) Label20.Caption = "Custom Installation";
  if (RadioButton2.Checked) Label20.Caption = "Minimal Installation";
  Label21.Caption = Edit1.Text;
  Label22.Caption = CheckBox9.Checked ? "Yes" : "No";
}

} // namespace app
