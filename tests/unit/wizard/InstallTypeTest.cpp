// The licence box and the installation type: the states of all ten group boxes after each choice.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Installer.h"
#include "unit/app/ScriptedUi.h"

namespace {

using app::TForm1;

enum class Type { Full, Minimal, Custom };

// A click on a radio button: it becomes the selected one of the group, then its handler runs.
void choose(TForm1& form, Type type) {
  form.RadioButton1.Checked = type == Type::Full;
  form.RadioButton2.Checked = type == Type::Minimal;
  form.RadioButton3.Checked = type == Type::Custom;
  switch (type) {
  case Type::Full:
    form.RadioButton1Click();
    break;
  case Type::Minimal:
    form.RadioButton2Click();
    break;
  case Type::Custom:
    form.RadioButton3Click();
    break;
  }
}

// The ten boxes as ticks ('x' ticked, '.' not) and enabled states ('e', '-').
std::string ticks(TForm1& form) {
  std::string out;
  for (app::TCheckBox* box : form.GroupCheckBoxes()) out += box->Checked ? 'x' : '.';
  return out;
}
std::string enabled(TForm1& form) {
  std::string out;
  for (app::TCheckBox* box : form.GroupCheckBoxes()) out += box->Enabled ? 'e' : '-';
  return out;
}

// The user unticks group boxes 2 and 5 (possible only while they are enabled).
void untickSome(TForm1& form) {
  auto boxes = form.GroupCheckBoxes();
  for (std::size_t i : {1u, 4u})
    if (boxes[i]->Enabled) boxes[i]->Checked = false;
}

struct Step {
  const char* what;
  std::function<void(TForm1&)> act;
  const char* ticks;
  const char* enabled;
};

TEST(InstallationType, StateSequences) {
  const auto full = [](TForm1& f) { choose(f, Type::Full); };
  const auto minimal = [](TForm1& f) { choose(f, Type::Minimal); };
  const auto custom = [](TForm1& f) { choose(f, Type::Custom); };
  const std::vector<std::vector<Step>> sequences = {
      {{"start: Full", [](TForm1&) {}, "xxxxxxxxxx", "----------"},
       {"no box can be unticked under Full", untickSome, "xxxxxxxxxx", "----------"},
       {"Custom after Full", custom, "xxxxxxxxxx", "eeeeeeeeee"},
       {"untick two", untickSome, "x.xx.xxxxx", "eeeeeeeeee"},
       {"Full again", full, "xxxxxxxxxx", "----------"},
       {"Custom keeps them all ticked", custom, "xxxxxxxxxx", "eeeeeeeeee"}},
      {{"Minimal", minimal, "..........", "----------"},
       {"Custom after Minimal", custom, "..........", "eeeeeeeeee"},
       {"Minimal again", minimal, "..........", "----------"},
       {"Full", full, "xxxxxxxxxx", "----------"}},
      {{"Custom", custom, "xxxxxxxxxx", "eeeeeeeeee"},
       {"untick two", untickSome, "x.xx.xxxxx", "eeeeeeeeee"},
       {"Minimal loses the choice", minimal, "..........", "----------"},
       {"Custom", custom, "..........", "eeeeeeeeee"}},
  };
  for (const auto& sequence : sequences) {
    testing_ui::ScriptedUi ui;
    TForm1 form;
    // Three groups: the seven hidden boxes change all the same.
    form.CheckBox2.Visible = form.CheckBox3.Visible = form.CheckBox4.Visible = true;
    for (const Step& step : sequence) {
      step.act(form);
      EXPECT_EQ(ticks(form), step.ticks) << step.what;
      EXPECT_EQ(enabled(form), step.enabled) << step.what;
    }
    EXPECT_TRUE(form.CheckBox8.Checked);
    EXPECT_FALSE(form.CheckBox8.Enabled);
    EXPECT_FALSE(form.CheckBox5.Visible);
  }
}

TEST(LicenceAgreement, NextFollowsTheBox) {
  testing_ui::ScriptedUi ui;
  TForm1 form;
  form.Notebook1.SetPageIndex(app::page::License);
  EXPECT_FALSE(form.Button2.Enabled);
  EXPECT_EQ(form.ActiveControl, &form.Memo1);
  for (bool ticked : {true, false, true}) {
    form.CheckBox1.Checked = ticked;
    form.CheckBox1Click();
    EXPECT_EQ(form.Button2.Enabled, ticked);
  }
}

} // namespace
