// The quiet user-interface service of the Windows build: pumps this thread's messages.
#include "platform/Ui.h"

#include <windows.h>

namespace platform {

namespace {

class Win32QuietUi final : public UiService {
public:
  void processMessages() override {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  void waitForMessage(std::uint32_t timeoutMs) override {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs, QS_ALLINPUT);
  }
};

} // namespace

UiService& quietUi() {
  static Win32QuietUi service;
  return service;
}

} // namespace platform
