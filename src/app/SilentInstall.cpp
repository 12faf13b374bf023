// The silent installation: its user-interface service and the runner that presses Next.
#include "app/SilentInstall.h"

#include "app/RunLog.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <thread>

namespace app {
namespace {

// Standard error shows a text with its line breaks; the carriage returns go.
void printError(const std::string& text) {
  std::string printed;
  for (char c : text)
    if (c != '\r') printed += c;
  std::fprintf(stderr, "%s\n", printed.c_str());
  std::fflush(stderr);
}

const char* answerName(platform::MessageAnswer answer) {
  switch (answer) {
  case platform::MessageAnswer::Ok:
    return "OK";
  case platform::MessageAnswer::Yes:
    return "Yes";
  case platform::MessageAnswer::No:
    return "No";
  }
  return "?";
}

bool sameCaption(const std::string& a, const std::string& b) {
  auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char x, char y) { return fold(x) == fold(y); });
}

void select(TForm1& form, TRadioButton& chosen) {
  for (TRadioButton* button : {&form.RadioButton1, &form.RadioButton2, &form.RadioButton3})
    button->Checked = button == &chosen;
}

// Presses Next (or Finish) as a user would: only while it is enabled.
void pressNext(TForm1& form) {
  if (!form.Button2.Enabled)
    throw std::runtime_error("Setup cannot go on from page " +
                             std::to_string(form.Notebook1.PageIndex()) + ": Next is disabled.");
  form.Button2Click();
}

} // namespace

void ReportStartFailure(bool silent, const std::string& text) {
  LogLine("error: " + text);
  if (silent)
    printError(text);
  else
    platform::ui().messageBox(text, "Error", platform::MessageIcon::Error,
                              platform::MessageButtons::Ok);
}

SilentUi::SilentUi() : previous_(platform::setUi(this)) {}

SilentUi::~SilentUi() { platform::setUi(previous_); }

void SilentUi::waitForMessage(std::uint32_t timeoutMs) {
  std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
}

platform::MessageAnswer SilentUi::messageBox(const std::string& text, const std::string& title,
                                             platform::MessageIcon,
                                             platform::MessageButtons buttons) {
  // The one question of an installation asks to create the installation folder: yes.
  const platform::MessageAnswer answer = buttons == platform::MessageButtons::YesNo
                                             ? platform::MessageAnswer::Yes
                                             : platform::MessageAnswer::Ok;
  const std::string line = title + ": " + text + " [" + answerName(answer) + "]";
  LogLine("message: " + line);
  printError(line);
  return answer;
}

void SilentUi::endProgram(int code) { throw SilentProgramEnd{code}; }

void SilentUi::openWebAddress(const std::string& address) {
  LogLine("web address not opened in a silent run: " + address);
}

void SilentUi::startTimer(int id, std::uint32_t, std::function<void()>) {
  if (std::find(timers_.begin(), timers_.end(), id) == timers_.end()) timers_.push_back(id);
}

void SilentUi::stopTimer(int id) {
  timers_.erase(std::remove(timers_.begin(), timers_.end(), id), timers_.end());
}

void SilentHost::Initialize(TApplication&) { ui_ = std::make_unique<SilentUi>(); }

void SilentHost::Run(TApplication& application) {
  exitCode_ = runPages(*application.MainForm);
  LogLine("exit code: " + std::to_string(exitCode_));
}

int SilentHost::runPages(TForm1& form) {
  try {
    form.FormActivate();
  } catch (const SilentProgramEnd&) {
    // The script's header is wrong: its error box has been written.
    return kSilentNotStarted;
  } catch (const std::exception& error) {
    ReportStartFailure(true, error.what());
    return kSilentNotStarted;
  }
  // The start-up errors end the program through the exit timer, after their error box.
  if (ui_->timerRunning()) return kSilentNotStarted;
  LogStartUp(form);
  if (!applyComponents(form)) return kSilentNotStarted;

  try {
    for (int pages = 0; pages <= TNotebook::PageCount; ++pages) {
      const std::int32_t current = form.Notebook1.PageIndex();
      switch (current) {
      case page::License:
        form.CheckBox1.Checked = true;
        form.CheckBox1Click();
        break;
      case page::Location:
        if (switches_.folder) form.DirectoryEdit1.Text = *switches_.folder;
        LogLine("location: " + form.DirectoryEdit1.Text);
        break;
      case page::Type:
        applyType(form);
        break;
      case page::Folder:
        if (switches_.group) form.Edit1.Text = *switches_.group;
        if (switches_.noDesktop) form.CheckBox9.Checked = false;
        break;
      case page::Finished:
        form.CheckBox6.Checked = switches_.run;
        break;
      default:
        break;
      }
      if (current == page::Finished || current == page::UnFinished) {
        const std::string warning =
            current == page::Finished ? form.Label24.Caption : form.Label35.Caption;
        if (!warning.empty()) printError(warning);
        try {
          pressNext(form);
        } catch (const SilentProgramEnd&) {
          return warning.empty() ? kSilentFinished : kSilentWarning;
        }
        throw std::runtime_error("Finish did not end the program.");
      }
      pressNext(form);
      if (form.Notebook1.PageIndex() == current)
        throw std::runtime_error("Setup did not leave page " + std::to_string(current) + ".");
      if (form.Notebook1.PageIndex() == page::Summary)
        LogLine("summary: Installation Folder: " + form.Label11.Caption + "; Installation Type: " +
                form.Label20.Caption + "; Start Menu folder: " + form.Label21.Caption +
                "; Create Desktop shortcut: " + form.Label22.Caption);
    }
    throw std::runtime_error("Setup did not reach its last page.");
  } catch (const SilentProgramEnd& end) {
    const std::string text = "Setup ended on page " + std::to_string(form.Notebook1.PageIndex()) +
                             " with exit code " + std::to_string(end.code) + ".";
    LogLine("stopped: " + text);
    printError(text);
    return kSilentStopped;
  } catch (const std::exception& error) {
    // The event boundary of a silent run: the message the error box would show.
    LogLine(std::string("stopped: ") + error.what());
    printError(std::string("Error: ") + error.what());
    return kSilentStopped;
  }
}

bool SilentHost::applyComponents(TForm1& form) {
  if (!switches_.components) return true;
  for (const std::string& caption : *switches_.components) {
    bool known = false;
    for (TCheckBox* box : form.GroupCheckBoxes())
      if (box->Visible && sameCaption(box->Caption, caption)) known = true;
    if (known) continue;
    std::string captions;
    for (TCheckBox* box : form.GroupCheckBoxes())
      if (box->Visible) captions += (captions.empty() ? "" : ", ") + box->Caption;
    ReportStartFailure(true, "Unknown component " + caption + " in /COMPONENTS= (the script has " +
                                 (captions.empty() ? std::string("none") : captions) + ").");
    return false;
  }
  return true;
}

void SilentHost::applyType(TForm1& form) {
  if (switches_.components) {
    select(form, form.RadioButton3);
    form.RadioButton3Click();
    for (TCheckBox* box : form.GroupCheckBoxes()) {
      if (!box->Visible) continue;
      box->Checked = false;
      for (const std::string& caption : *switches_.components)
        if (sameCaption(box->Caption, caption)) box->Checked = true;
    }
  } else if (switches_.type == InstallType::Full) {
    select(form, form.RadioButton1);
    form.RadioButton1Click();
  } else if (switches_.type == InstallType::Minimal) {
    select(form, form.RadioButton2);
    form.RadioButton2Click();
  } else if (switches_.type == InstallType::Custom) {
    select(form, form.RadioButton3);
    form.RadioButton3Click();
  }
  std::string ticked;
  for (TCheckBox* box : form.GroupCheckBoxes())
    if (box->Visible && box->Checked) ticked += (ticked.empty() ? "" : ", ") + box->Caption;
  LogLine("type: groups ticked: " + (ticked.empty() ? std::string("none") : ticked));
}

} // namespace app
