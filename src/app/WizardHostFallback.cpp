// The wizard host of a build without a native window: it says so and ends the program. The
// Windows build, whose program has no console, says it in a message box (QF_FALLBACK_MESSAGE_BOX).
#include "app/WizardHost.h"

#include "app/RunLog.h"
#include "platform/Ui.h"

#include <cstdio>

namespace app {
namespace {

const char* const kNoWizard =
    "This build has no wizard window; run with /S for a silent installation.";

class NoWizardHost final : public WindowHost {
public:
  void Initialize(TApplication&) override {}
  void Run(TApplication&) override {
    LogLine(std::string("error: ") + kNoWizard);
#ifdef QF_FALLBACK_MESSAGE_BOX
    platform::ui().messageBox(kNoWizard, "Setup", platform::MessageIcon::Error,
                              platform::MessageButtons::Ok);
#else
    std::fprintf(stderr, "%s\n", kNoWizard);
#endif
    platform::exitProgram(1);
  }
};

} // namespace

std::unique_ptr<WindowHost> MakeWizardHost() { return std::make_unique<NoWizardHost>(); }

} // namespace app
