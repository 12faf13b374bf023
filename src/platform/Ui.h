// The user-interface service: what the core asks of the window system. The native window
// installs its own; tests and silent runs install scripted ones.
#pragma once

#include <cstdint>

namespace platform {

class UiService {
public:
  virtual ~UiService() = default;

  // Lets the window system handle every message that is waiting, then returns.
  virtual void processMessages() = 0;

  // Blocks until a message arrives or `timeoutMs` has passed, whichever is first.
  virtual void waitForMessage(std::uint32_t timeoutMs) = 0;
};

// The service in use. Until one is installed, a quiet service with no window is used.
UiService& ui();

// Installs `service` (not owned; nullptr restores the quiet one) and returns the one before.
UiService* setUi(UiService* service);

} // namespace platform
