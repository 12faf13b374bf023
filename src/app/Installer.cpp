// TForm1 as the window is created: every control at its place with its initial state and texts.
#include "app/Installer.h"

namespace app {

namespace {

using widgets::clBtnFace;
using widgets::clWhite;
using widgets::clWindowText;
using widgets::rgbColor;

const char* const kLegalWarning =
    "WARNING: This program is protected by copyright law and international treaties.\r\n"
    "\r\n"
    "Copying or distributing this program, or any part of it, without the permission of its "
    "owner is not allowed and may lead to civil and criminal proceedings.";

const char* const kWebAddress = "http://www.quillfern.example/";

const char* const kDefaultLicence[] = {
    "QUILLFERN END-USER LICENCE AGREEMENT",
    "",
    "Please read this agreement carefully before you install the software. By ticking the box "
    "below and continuing, you agree to be bound by its terms.",
    "",
    "1. Licence. You may install and use one copy of the software on one computer.",
    "",
    "2. Restrictions. You may not rent, lease, sell, modify, decompile or disassemble the "
    "software, or distribute copies of it to others.",
    "",
    "3. Ownership. The software is licensed, not sold. Its owner keeps all rights not expressly "
    "granted to you.",
    "",
    "4. No warranty. The software is provided \"as is\", without warranty of any kind. You use "
    "it at your own risk.",
    "",
    "5. Limitation of liability. In no event shall the owner be liable for any damages arising "
    "from the use of, or inability to use, the software.",
    "",
    "6. Termination. This licence ends if you fail to comply with its terms; you must then "
    "destroy all copies of the software.",
};

void place(TControl& control, std::int32_t pageIndex, std::int32_t left, std::int32_t top,
           std::int32_t width = 0, std::int32_t height = 0) {
  control.Page = pageIndex;
  control.Left = left;
  control.Top = top;
  control.Width = width;
  control.Height = height;
}

void label(TLabel& control, std::int32_t pageIndex, std::int32_t left, std::int32_t top,
           const std::string& caption) {
  place(control, pageIndex, left, top);
  control.Caption = caption;
}

// A fixed-size, word-wrapped label.
void textBlock(TLabel& control, std::int32_t pageIndex, std::int32_t left, std::int32_t top,
               std::int32_t width, std::int32_t height, const std::string& caption) {
  place(control, pageIndex, left, top, width, height);
  control.Caption = caption;
  control.AutoSize = false;
  control.WordWrap = true;
}

void heading(TLabel& control, std::int32_t pageIndex, const std::string& caption) {
  label(control, pageIndex, 16, 16, caption);
  control.Font.Style.Bold = true;
  control.Font.Color = rgbColor(64, 0, 128);
}

void warningText(TLabel& control, std::int32_t pageIndex, std::int32_t top) {
  textBlock(control, pageIndex, 16, top, 233, 73, "x");
  control.Font.Name = "Arial";
  control.Font.Style.Bold = true;
  control.Font.Style.Italic = true;
  control.Font.Color = rgbColor(198, 68, 13);
}

void checkBox(TCheckBox& control, std::int32_t pageIndex, std::int32_t left, std::int32_t top,
              std::int32_t width, const std::string& caption, bool checked) {
  place(control, pageIndex, left, top, width, 17);
  control.Caption = caption;
  control.Checked = checked;
}

void radioButton(TRadioButton& control, std::int32_t left, const std::string& caption,
                 bool checked) {
  place(control, page::Type, left, 40, 145, 17);
  control.Caption = caption;
  control.Checked = checked;
}

// Ticked, disabled and hidden until the script names the group.
void groupBox(TCheckBox& control, std::int32_t left, std::int32_t top) {
  checkBox(control, page::Type, left, top, 161, "[None]", true);
  control.Enabled = false;
  control.Visible = false;
}

void hiddenList(TListBox& control, std::int32_t pageIndex) {
  control.Page = pageIndex;
  control.Visible = false;
}

void hiddenLabel(TLabel& control, std::int32_t pageIndex, const std::string& caption) {
  control.Page = pageIndex;
  control.Caption = caption;
  control.Visible = false;
}

void summaryCaption(TLabel& control, std::int32_t left, std::int32_t top,
                    const std::string& caption) {
  label(control, page::Summary, left, top, caption);
  control.Alignment = TAlignment::RightJustify;
  control.Font.Style.Bold = true;
  control.Font.Color = clWindowText;
}

void summaryValue(TLabel& control, std::int32_t top) {
  place(control, page::Summary, 176, top, 321, 17);
  control.AutoSize = false;
  control.Caption = std::string(1, 'x');
}

void picture(TImage& control, std::int32_t pageIndex, std::int32_t left, std::int32_t top,
             const std::string& builtIn, std::int32_t width, std::int32_t height) {
  place(control, pageIndex, left, top, width, height);
  control.Picture = TPicture{builtIn, std::string(), width, height};
}

void banner(widgets::TNetGradient& gradient, std::int32_t left, std::int32_t top,
            std::int32_t width, std::int32_t height, TColor begin, TColor end) {
  gradient.SetBounds(left, top, width, height);
  gradient.SetBeginColor(begin);
  gradient.SetEndColor(end);
}

void button(TButton& control, std::int32_t left, const std::string& caption) {
  place(control, NoPage, left, 8, 75, 25);
  control.Caption = caption;
}

} // namespace

TForm1::TForm1() {
  Color = rgbColor(237, 231, 222);

  // Header: banner, the two shapes beneath it, then title, icon and logo above it.
  banner(NetGradient2, 0, 0, 433, 49, rgbColor(183, 194, 217), clWhite);
  place(Shape1, NoPage, 48, -1, 460, 51);
  Shape1.BrushColor = clWhite;
  place(Shape2, NoPage, 0, 32, 49, 33);
  Shape2.Shape = TShapeType::RoundRect;
  Shape2.BrushColor = rgbColor(183, 194, 217);
  label(Label1, NoPage, 48, 24, "[none] Setup");
  Label1.Transparent = true;
  Label1.Font.Name = "Arial";
  Label1.Font.Height = -16;
  Label1.Font.Style.Bold = true;
  Label1.Font.Color = clWhite;
  picture(Image1, NoPage, 8, 24, "setup-icon", 32, 32);
  Image1.AutoSize = true;
  Image1.Transparent = true;
  picture(Image2, NoPage, 435, 5, "logo", 60, 43);
  Image2.AutoSize = true;
  Image2.Stretch = true;

  // Link line.
  label(RxLabel1, NoPage, 382, 51, kWebAddress);
  RxLabel1.Font.Color = rgbColor(134, 83, 6);
  banner(NetGradient3, 368, 64, 137, 1, clBtnFace, rgbColor(151, 103, 13));
  banner(NetGradient4, 432, 65, 72, 1, clBtnFace, rgbColor(151, 103, 13));

  place(Notebook1, NoPage, 0, 66, 505, 237);
  Notebook1.OnPageChanged = [this] { Notebook1PageChanged(); };

  // Page 0, Welcome.
  heading(Label4, page::Welcome, "Welcome to the ");
  textBlock(
      Label5, page::Welcome, 16, 72, 435, 117,
      std::string("This utility will install this application onto your PC.  It is "
                  "strongly recommended that you close any programs you currently have "
                  "running.  Click Next to continue with the Setup program.\r\n\r\n\r\n\r\n") +
          kLegalWarning);

  // Page 1, License.
  heading(Label2, page::License,
          "Please read the following License Agreement.  Press the PAGE DOWN key to see the rest "
          "of the agreement, and finally press I AGREE to continue.");
  Label2.AutoSize = false;
  Label2.WordWrap = true;
  Label2.Width = 444;
  Label2.Height = 26;
  place(Memo1, page::License, 16, 48, 457, 135);
  Memo1.ReadOnly = true;
  Memo1.VerticalScrollBar = true;
  Memo1.Bevel = false;
  Memo1.Color = rgbColor(251, 254, 184);
  Memo1.Lines.assign(std::begin(kDefaultLicence), std::end(kDefaultLicence));
  checkBox(CheckBox1, page::License, 16, 186, 250, "I agree to these terms and conditions", false);

  // Page 2, Location.
  heading(Label3, page::Location, "Setup will now install into the following location.");
  textBlock(Label6, page::Location, 16, 40, 393, 91,
            "To install into this directory, click [Next].\r\nTo install to a different "
            "directory, click on the [..] button and select another directory.\r\nYou can "
            "choose not to install this application by clicking on the [Cancel] "
            "button.\r\n\r\n\r\n\r\nDestination");
  place(DirectoryEdit1, page::Location, 16, 136, 457, 21);
  DirectoryEdit1.Text = "C:\\Program Files\\";

  // Page 3, Type.
  heading(Label7, page::Type,
          "Please select the type of Setup you would prefer, and then click [Next].");
  radioButton(RadioButton3, 40, "Custom Installation", false);
  radioButton(RadioButton2, 192, "Minimal Installation", false);
  radioButton(RadioButton1, 352, "Full Installation", true);
  checkBox(CheckBox8, page::Type, 72, 64, 161, "Required components", true);
  CheckBox8.Enabled = false;
  groupBox(CheckBox2, 72, 88);
  groupBox(CheckBox3, 72, 112);
  groupBox(CheckBox4, 72, 136);
  groupBox(CheckBox5, 72, 160);
  groupBox(CheckBox7, 72, 184);
  groupBox(CheckBox11, 264, 64);
  groupBox(CheckBox12, 264, 88);
  groupBox(CheckBox13, 264, 112);
  groupBox(CheckBox14, 264, 136);
  groupBox(CheckBox15, 264, 160);
  for (TListBox* list : GroupLists()) hiddenList(*list, page::Type);

  // Page 4, Folder.
  heading(Label8, page::Folder,
          "Setup will add program icons to the Program Folder listed below.  You may type in a "
          "new folder name or select from a list of existing folders.  Click [Next] to "
          "continue.");
  Label8.AutoSize = false;
  Label8.WordWrap = true;
  Label8.Width = 453;
  Label8.Height = 39;
  label(Label9, page::Folder, 16, 64, "Folder Name:");
  place(Edit1, page::Folder, 16, 80, 281, 21);
  Edit1.Text = "Tallowick";
  place(dirlist1, page::Folder, 16, 104, 465, 81);
  checkBox(CheckBox9, page::Folder, 16, 184, 250, "Create desktop shortcut", true);

  // Page 5, Summary.
  heading(Label10, page::Summary,
          "Summary Information.\r\n\r\nWhen ready, click [Next] to start installation...");
  Label10.WordWrap = true;
  summaryCaption(Label16, 48, 80, "Installation Folder:");
  summaryCaption(Label17, 48, 96, "Installation Type:");
  summaryCaption(Label18, 48, 128, "Start Menu folder:");
  summaryCaption(Label19, 24, 144, "Create Desktop shortcut:");
  summaryValue(Label11, 80);
  summaryValue(Label20, 96);
  summaryValue(Label21, 128);
  summaryValue(Label22, 144);

  // Page 6, Install.
  heading(Label12, page::Install, "Installing...");
  label(Label23, page::Install, 16, 64, "Preparing...");
  label(Label13, page::Install, 16, 96, "Current File:");
  place(ProgressBar1, page::Install, 16, 112, 457, 15);
  label(Label14, page::Install, 16, 136, "Overall Progress:");
  place(ProgressBar2, page::Install, 16, 152, 457, 15);
  hiddenList(ListBox1, page::Install);
  hiddenList(ListBox13, page::Install);
  hiddenList(ListBox14, page::Install);

  // Page 7, Finished.
  heading(Label15, page::Finished, "Installation complete.  Press [Finish] to exit.");
  warningText(Label24, page::Finished, 48);
  checkBox(CheckBox6, page::Finished, 16, 168, 250, "Run Application", true);

  // Page 8, Un-Welcome.
  heading(Label33, page::UnWelcome, "Software Removal");
  textBlock(Label32, page::UnWelcome, 16, 80, 469, 104,
            std::string("This utility will un-install this application from your PC.  It is "
                        "strongly recommended that you close any programs you currently have "
                        "running.  Click Next to continue.\r\n\r\n\r\n") +
                kLegalWarning);

  // Page 9, Un-Feedback.
  heading(Label36, page::UnFeedback, "Feedback");
  label(Label26, page::UnFeedback, 16, 40,
        "In order to improve our service, we welcome any feedback that could help to improve "
        "this product.");
  label(Label38, page::UnFeedback, 16, 72,
        "Please provide any feedback below and/or click Next to continue:");
  place(Memo2, page::UnFeedback, 16, 96, 465, 97);
  hiddenLabel(Label37, page::UnFeedback, "None");
  hiddenLabel(Label39, page::UnFeedback, "Quillfern");

  // Page 10, Un-Install.
  heading(Label31, page::UnInstall, "Removing Registry Keys...");
  Label31.AutoSize = false;
  Label31.Width = 409;
  Label31.Height = 17;
  picture(Image3, page::UnInstall, 96, 48, "stage", 32, 32);
  picture(Image4, page::UnInstall, 224, 48, "stage", 32, 32);
  picture(Image5, page::UnInstall, 352, 48, "stage", 32, 32);
  label(Label27, page::UnInstall, 80, 88, "Registry entries");
  label(Label28, page::UnInstall, 232, 88, "Links");
  label(Label29, page::UnInstall, 360, 88, "Files");
  picture(Image6, page::UnInstall, 96, 48, "stage-done", 32, 32);
  picture(Image7, page::UnInstall, 224, 48, "stage-done", 32, 32);
  picture(Image8, page::UnInstall, 352, 48, "stage-done", 32, 32);
  Image6.Visible = false;
  Image7.Visible = false;
  Image8.Visible = false;
  place(RxGIF, page::UnInstall, 108, 103, 16, 16);
  RxGIF.Animation = "busy";
  label(Label30, page::UnInstall, 24, 144, "Entire Progress:");
  place(ProgressBar3, page::UnInstall, 24, 160, 457, 15);

  // Page 11, Un-Finished.
  heading(Label34, page::UnFinished, "Un-Installation complete.  Press [Finish] to exit.");
  warningText(Label35, page::UnFinished, 64);

  // Button bar.
  place(Panel1, NoPage, 0, kClientHeight - 41, kClientWidth, 41);
  Panel1.AlignBottom = true;
  banner(NetGradient1, 0, 0, kClientWidth, 41, rgbColor(87, 118, 168), clBtnFace);
  button(Button1, 8, "Cancel");
  button(Button3, 336, "Back");
  Button3.Enabled = false;
  button(Button2, 416, "Next");

  // The program's variables.
  hiddenLabel(curDir, NoPage, std::string());
  hiddenLabel(progName, NoPage, "ProgName");
  hiddenLabel(Tasks, NoPage, "Tasks");
  FileListBox1.Visible = false;

  Timer2.Interval = 1;
  Timer2.OnTimer = [this] { Timer2Timer(); };
}

TForm1::~TForm1() { FormDestroy(); }

std::array<TCheckBox*, 10> TForm1::GroupCheckBoxes() {
  return {&CheckBox2,  &CheckBox3,  &CheckBox4,  &CheckBox5,  &CheckBox7,
          &CheckBox11, &CheckBox12, &CheckBox13, &CheckBox14, &CheckBox15};
}

std::array<TListBox*, 11> TForm1::GroupLists() {
  return {&ListBox2, &ListBox3, &ListBox4,  &ListBox5,  &ListBox6, &ListBox7,
          &ListBox8, &ListBox9, &ListBox10, &ListBox11, &ListBox12};
}

void TForm1::SetCursor(platform::Cursor cursor) {
  Cursor = cursor;
  platform::ui().setCursor(cursor);
}

} // namespace app
