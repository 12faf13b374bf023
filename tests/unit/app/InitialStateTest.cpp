// The main window as it is created: the texts, states and places the other handlers start from.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/Installer.h"
#include "unit/app/ScriptedUi.h"

namespace {

using app::TForm1;

struct TextCase {
  const char* control;
  std::function<std::string(TForm1&)> read;
  const char* expected;
};

TEST(InitialState, TextsAreThoseOfTheWindowAsDesigned) {
  testing_ui::ScriptedUi ui;
  TForm1 form;
  const TextCase cases[] = {
      {"Caption", [](TForm1& f) { return f.Caption; }, "Quillfern Installer v1.20"},
      {"Label1", [](TForm1& f) { return f.Label1.Caption; }, "[none] Setup"},
      {"Label4", [](TForm1& f) { return f.Label4.Caption; }, "Welcome to the "},
      {"CheckBox1", [](TForm1& f) { return f.CheckBox1.Caption; },
       "I agree to these terms and conditions"},
      {"Label3", [](TForm1& f) { return f.Label3.Caption; },
       "Setup will now install into the following location."},
      {"DirectoryEdit1", [](TForm1& f) { return f.DirectoryEdit1.Text; }, "C:\\Program Files\\"},
      {"RadioButton1", [](TForm1& f) { return f.RadioButton1.Caption; }, "Full Installation"},
      {"RadioButton2", [](TForm1& f) { return f.RadioButton2.Caption; }, "Minimal Installation"},
      {"RadioButton3", [](TForm1& f) { return f.RadioButton3.Caption; }, "Custom Installation"},
      {"CheckBox8", [](TForm1& f) { return f.CheckBox8.Caption; }, "Required components"},
      {"Edit1", [](TForm1& f) { return f.Edit1.Text; }, "Tallowick"},
      {"Label9", [](TForm1& f) { return f.Label9.Caption; }, "Folder Name:"},
      {"CheckBox9", [](TForm1& f) { return f.CheckBox9.Caption; }, "Create desktop shortcut"},
      {"Label10", [](TForm1& f) { return f.Label10.Caption; },
       "Summary Information.\r\n\r\nWhen ready, click [Next] to start installation..."},
      {"Label16", [](TForm1& f) { return f.Label16.Caption; }, "Installation Folder:"},
      {"Label19", [](TForm1& f) { return f.Label19.Caption; }, "Create Desktop shortcut:"},
      {"Label11", [](TForm1& f) { return f.Label11.Caption; }, "x"},
      {"Label22", [](TForm1& f) { return f.Label22.Caption; }, "x"},
      {"Label12", [](TForm1& f) { return f.Label12.Caption; }, "Installing..."},
      {"Label23", [](TForm1& f) { return f.Label23.Caption; }, "Preparing..."},
      {"Label15", [](TForm1& f) { return f.Label15.Caption; },
       "Installation complete.  Press [Finish] to exit."},
      {"Label24", [](TForm1& f) { return f.Label24.Caption; }, "x"},
      {"CheckBox6", [](TForm1& f) { return f.CheckBox6.Caption; }, "Run Application"},
      {"Label33", [](TForm1& f) { return f.Label33.Caption; }, "Software Removal"},
      {"Label37", [](TForm1& f) { return f.Label37.Caption; }, "None"},
      {"Label39", [](TForm1& f) { return f.Label39.Caption; }, "Quillfern"},
      {"Label31", [](TForm1& f) { return f.Label31.Caption; }, "Removing Registry Keys..."},
      {"Label34", [](TForm1& f) { return f.Label34.Caption; },
       "Un-Installation complete.  Press [Finish] to exit."},
      {"Label35", [](TForm1& f) { return f.Label35.Caption; }, "x"},
      {"Button1", [](TForm1& f) { return f.Button1.Caption; }, "Cancel"},
      {"Button2", [](TForm1& f) { return f.Button2.Caption; }, "Next"},
      {"Button3", [](TForm1& f) { return f.Button3.Caption; }, "Back"},
      {"progName", [](TForm1& f) { return f.progName.Caption; }, "ProgName"},
      {"Tasks", [](TForm1& f) { return f.Tasks.Caption; }, "Tasks"},
  };
  for (const TextCase& c : cases) EXPECT_EQ(c.read(form), c.expected) << c.control;

  // Long texts: the exact opening sentence, then the line breaks before the legal warning.
  EXPECT_EQ(form.Label5.Caption.rfind("This utility will install this application onto your "
                                      "PC.  It is strongly recommended that you close any "
                                      "programs you currently have running.  Click Next to "
                                      "continue with the Setup program.\r\n\r\n\r\n\r\nWARNING: ",
                                      0),
            0u);
  EXPECT_EQ(form.Label32.Caption.rfind("This utility will un-install this application from "
                                       "your PC.  It is strongly recommended that you close any "
                                       "programs you currently have running.  Click Next to "
                                       "continue.\r\n\r\n\r\nWARNING: ",
                                       0),
            0u);
  EXPECT_NE(form.Label6.Caption.find("[Cancel] button.\r\n\r\n\r\n\r\nDestination"),
            std::string::npos);
  EXPECT_FALSE(form.Memo1.Lines.empty());
}

TEST(InitialState, StatesOfButtonsBoxesAndHiddenControls) {
  testing_ui::ScriptedUi ui;
  TForm1 form;
  EXPECT_EQ(form.Notebook1.PageIndex(), 0);
  EXPECT_TRUE(form.Button1.Enabled);
  EXPECT_TRUE(form.Button2.Enabled);
  EXPECT_FALSE(form.Button3.Enabled);
  EXPECT_FALSE(form.CheckBox1.Checked);
  EXPECT_TRUE(form.RadioButton1.Checked);
  EXPECT_FALSE(form.RadioButton2.Checked);
  EXPECT_FALSE(form.RadioButton3.Checked);
  EXPECT_TRUE(form.CheckBox8.Checked);
  EXPECT_FALSE(form.CheckBox8.Enabled);
  EXPECT_TRUE(form.CheckBox8.Visible);
  for (app::TCheckBox* box : form.GroupCheckBoxes()) {
    EXPECT_EQ(box->Caption, "[None]");
    EXPECT_TRUE(box->Checked);
    EXPECT_FALSE(box->Enabled);
    EXPECT_FALSE(box->Visible);
  }
  for (app::TListBox* list : form.GroupLists()) {
    EXPECT_TRUE(list->Items.empty());
    EXPECT_FALSE(list->Visible);
  }
  EXPECT_TRUE(form.CheckBox9.Checked);
  EXPECT_TRUE(form.CheckBox6.Checked);
  EXPECT_TRUE(form.Memo1.ReadOnly);
  EXPECT_TRUE(form.Memo2.Lines.empty());
  EXPECT_FALSE(form.curDir.Visible);
  EXPECT_FALSE(form.Label37.Visible);
  EXPECT_FALSE(form.Image6.Visible);
  EXPECT_FALSE(form.Image7.Visible);
  EXPECT_FALSE(form.Image8.Visible);
  EXPECT_FALSE(form.dirCreated);
  EXPECT_FALSE(form.Timer2.Enabled());
  EXPECT_EQ(form.Timer2.Interval, 1u);
  EXPECT_TRUE(ui.timers.empty());
  EXPECT_FALSE(form.RunInstallation);
  EXPECT_FALSE(form.RunUninstall);
  EXPECT_FALSE(form.RunFinishActions);
}

TEST(InitialState, PlacesThatStartUpAndTheRunsMove) {
  testing_ui::ScriptedUi ui;
  TForm1 form;
  EXPECT_EQ(form.Width, 510);
  EXPECT_EQ(form.ClientWidth, 504);
  EXPECT_EQ(form.ClientHeight, 345);
  // The logo: 60 x 43 at 435,5, sized to its picture and stretching it when it is not.
  EXPECT_EQ(form.Image2.Left, 435);
  EXPECT_EQ(form.Image2.Top, 5);
  EXPECT_EQ(form.Image2.Width, 60);
  EXPECT_EQ(form.Image2.Height, 43);
  EXPECT_TRUE(form.Image2.AutoSize);
  EXPECT_TRUE(form.Image2.Stretch);
  EXPECT_EQ(form.Image1.Width, 32);
  EXPECT_EQ(form.Image1.Height, 32);
  EXPECT_TRUE(form.RxLabel1.Visible);
  EXPECT_EQ(form.RxLabel1.Left, 382);
  EXPECT_EQ(form.RxGIF.Left, 108);
  EXPECT_EQ(form.Image3.Left, 96);
  EXPECT_EQ(form.Image4.Left, 224);
  EXPECT_EQ(form.Image5.Left, 352);
  EXPECT_EQ(form.Image6.Left, form.Image3.Left);
  EXPECT_EQ(form.Image8.Top, form.Image5.Top);
  EXPECT_EQ(form.NetGradient2.Width(), 433);
  EXPECT_EQ(form.NetGradient2.BeginColor(), widgets::rgbColor(183, 194, 217));
  EXPECT_EQ(form.NetGradient2.EndColor(), widgets::clWhite);
  EXPECT_EQ(form.NetGradient4.Width(), 72);
  EXPECT_EQ(form.NetGradient4.Height(), 1);
  EXPECT_EQ(form.NetGradient1.BeginColor(), widgets::rgbColor(87, 118, 168));
  EXPECT_EQ(form.NetGradient1.EndColor(), widgets::clBtnFace);
  // The ten group boxes in group order: two columns at x 72 and 264.
  const int expected[10][2] = {{72, 88},  {72, 112}, {72, 136},  {72, 160},  {72, 184},
                               {264, 64}, {264, 88}, {264, 112}, {264, 136}, {264, 160}};
  auto boxes = form.GroupCheckBoxes();
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    EXPECT_EQ(boxes[i]->Left, expected[i][0]) << "group " << i + 1;
    EXPECT_EQ(boxes[i]->Top, expected[i][1]) << "group " << i + 1;
    EXPECT_EQ(boxes[i]->Page, app::page::Type);
  }
}

} // namespace
