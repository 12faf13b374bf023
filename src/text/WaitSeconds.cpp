// VelTextHandler::WaitSeconds: a wait that keeps handling window messages until the time is up.
#include "platform/System.h"
#include "platform/Ui.h"
#include "text/VelTextHandler1.h"

#include <algorithm>
#include <cstdint>

void VelTextHandler::WaitSeconds(std::int32_t seconds) {
  if (seconds <= 0) return;
  const std::uint32_t start = platform::tickCount();
  // 64-bit: a long wait must not wrap into a short one.
  const std::uint64_t end = std::uint64_t{start} + std::uint64_t(seconds) * 1000u;
  constexpr std::uint64_t wrapAt = std::uint64_t{1} << 32;
  for (;;) {
    // A counter below the start has wrapped around; the wait ends there.
    if (platform::tickCount() < start) return;
    const std::uint32_t now = platform::tickCount();
    if (now >= end) return;
    platform::ui().processMessages();
    // Wrapped between the two reads: the next round ends the wait without sleeping first.
    if (now < start) continue;
    // Sleep until a message arrives, the time is up or the counter wraps, whichever is first;
    // never the full 2^32 - 1, which the window system reads as "forever".
    const std::uint64_t untilDone = std::min(end - now, wrapAt - now);
    const std::uint64_t longest = 0xFFFFFFFEu;
    platform::ui().waitForMessage(static_cast<std::uint32_t>(std::min(untilDone, longest)));
  }
}
