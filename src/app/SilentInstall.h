// The silent installation: the same window model and handlers as the wizard, driven page by page
// without a window. What a message box would say goes to the run log and to standard error.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/Program.h"
#include "app/SetupSwitches.h"
#include "platform/Ui.h"

namespace app {

// Exit codes of a silent run.
inline constexpr int kSilentFinished = 0;   // finished without a warning
inline constexpr int kSilentNotStarted = 1; // a start-up error, a missing library, a bad switch
inline constexpr int kSilentWarning = 3;    // finished with a warning (printed)
inline constexpr int kSilentStopped = 4;    // stopped by an error (its message printed)

// Reports a problem the way the mode in use does: a silent run writes it to standard error and
// to the log; the wizard shows it in an error box.
void ReportStartFailure(bool silent, const std::string& text);

// The end of the program, asked for by a handler inside a silent run.
struct SilentProgramEnd {
  int code;
};

// The user-interface service of a silent run: no window. A message box is written to the log
// and to standard error and answered with Yes (or OK); the end of the program returns to the
// runner as SilentProgramEnd. Installed for its lifetime.
class SilentUi final : public platform::UiService {
public:
  SilentUi();
  ~SilentUi() override;
  SilentUi(const SilentUi&) = delete;
  SilentUi& operator=(const SilentUi&) = delete;

  void processMessages() override {}
  void waitForMessage(std::uint32_t timeoutMs) override;
  platform::MessageAnswer messageBox(const std::string& text, const std::string& title,
                                     platform::MessageIcon icon,
                                     platform::MessageButtons buttons) override;
  void setCursor(platform::Cursor) override {}
  void endProgram(int code) override;
  void openWebAddress(const std::string& address) override;
  // The exit timer is the only timer of an installation; it is recorded, never run: a running
  // timer after start-up means start-up failed.
  void startTimer(int id, std::uint32_t intervalMs, std::function<void()> onTick) override;
  void stopTimer(int id) override;

  bool timerRunning() const { return !timers_.empty(); }

private:
  platform::UiService* previous_;
  std::vector<int> timers_;
};

// Runs the window without a window: start-up, Next through the pages with the switches' choices
// (licence agreed, folder question answered Yes), the run, and Finish (the finish actions only
// with /RUN). ExitCode() then tells how it ended.
class SilentHost final : public WindowHost {
public:
  explicit SilentHost(SetupSwitches switches) : switches_(std::move(switches)) {}

  void Initialize(TApplication& application) override;
  void Run(TApplication& application) override;

  int ExitCode() const { return exitCode_; }

private:
  int runPages(TForm1& form);
  bool applyComponents(TForm1& form);
  void applyType(TForm1& form);

  SetupSwitches switches_;
  std::unique_ptr<SilentUi> ui_;
  int exitCode_{kSilentNotStarted};
};

} // namespace app
