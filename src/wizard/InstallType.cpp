// The licence agreement box and the installation type: Full, Minimal or Custom.
#include "app/Installer.h"

namespace app {

void TForm1::CheckBox1Click() { Button2.Enabled = CheckBox1.Checked; }

// Each type acts on all ten group boxes, hidden ones included: a hidden box has an empty list.
void TForm1::RadioButton1Click() {
  for (TCheckBox* box : GroupCheckBoxes()) box->Checked = true;
  for (TCheckBox* box : GroupCheckBoxes()) box->Enabled = false;
}

void TForm1::RadioButton2Click() {
  for (TCheckBox* box : GroupCheckBoxes()) box->Checked = false;
  for (TCheckBox* box : GroupCheckBoxes()) box->Enabled = false;
}

void TForm1::RadioButton3Click() {
  for (TCheckBox* box : GroupCheckBoxes()) box->Enabled = true;
}

} // namespace app
