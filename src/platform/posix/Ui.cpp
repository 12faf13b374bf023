// The quiet user-interface service of the POSIX build: there is no window system to pump.
#include "platform/Ui.h"

#include <chrono>
#include <thread>

namespace platform {

namespace {

class PosixQuietUi final : public UiService {
public:
  void processMessages() override {}
  void waitForMessage(std::uint32_t timeoutMs) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
  }
};

} // namespace

UiService& quietUi() {
  static PosixQuietUi service;
  return service;
}

} // namespace platform
