// WaitSeconds on a fake clock: the emulated machine's tick counter is driven by a scripted window
// system whose waits advance the time, so long waits, wraps and overflows run instantly.
#include "platform/Ui.h"
#include "platform/posix/Machine.h"
#include "text/VelTextHandler1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>

namespace {

using platform::posix::Machine;

constexpr std::uint64_t Wrap = std::uint64_t{1} << 32;

// The window system: counts message rounds; a wait lasts until its timeout or until the next
// message arrives (at most `longestSleep` later).
class FakeClockUi final : public platform::UiService {
public:
  std::uint64_t now{0}; // the counter is the low 32 bits of this clock
  std::uint32_t longestSleep{UINT32_MAX};
  long processed{0};

  void processMessages() override {
    // A wait that never sleeps would spin forever on a clock that only sleeping advances.
    if (++processed > 10'000'000) throw std::runtime_error("the wait spins without sleeping");
  }
  void waitForMessage(std::uint32_t timeoutMs) override {
    now += std::min(timeoutMs, longestSleep);
  }
};

class TextWaitSeconds : public ::testing::Test {
protected:
  void SetUp() override {
    root_ = std::filesystem::temp_directory_path() /
            ("qf-wait-" + std::to_string(std::random_device{}()));
    Machine::instance().reset(root_);
    Machine::instance().setTickSource([this] { return static_cast<std::uint32_t>(ui_.now); });
    previous_ = platform::setUi(&ui_);
  }
  void TearDown() override {
    platform::setUi(previous_);
    Machine::instance().setTickSource(nullptr);
    std::filesystem::remove_all(root_);
  }

  FakeClockUi ui_;
  platform::UiService* previous_{nullptr};
  std::filesystem::path root_;
};

struct WaitCase {
  const char* what;
  std::uint64_t start;
  std::int32_t seconds;
  std::uint32_t longestSleep;
  std::uint64_t endsAtLeast; // the clock when the wait returns lies in [endsAtLeast, endsBelow)
  std::uint64_t endsBelow;
  long processedAtLeast;
  long processedAtMost;
};

TEST_F(TextWaitSeconds, EndsWhenTheTimeIsUpOrTheCounterWraps) {
  const WaitCase cases[] = {
      {"two seconds", 5000, 2, UINT32_MAX, 7000, 7100, 1, 1000},
      // Messages arriving every 100 ms are handled as they come, throughout the wait.
      {"messages keep coming", 5000, 3, 100, 8000, 8100, 30, 1000},
      {"zero seconds", 5000, 0, 100, 5000, 5001, 0, 0},
      {"negative seconds", 5000, -1, 100, 5000, 5001, 0, 0},
      {"most negative seconds", 5000, INT32_MIN, 100, 5000, 5001, 0, 0},
      // 256 ms before the counter wraps: the wait ends at the wrap, well before ten seconds.
      {"counter wraps", Wrap - 256, 10, UINT32_MAX, Wrap, Wrap + 100, 1, 1000},
      {"counter wraps, messages coming", Wrap - 256, 10, 100, Wrap, Wrap + 100, 3, 1000},
      // 4e9 ms does not fit a signed 32-bit product but does fit the counter: waited in full.
      {"over 24 days", 0, 4'000'000, UINT32_MAX, 4'000'000'000, 4'000'000'100, 1, 1000},
      // Past 2^32 ms the end lies beyond the wrap; a 32-bit end would come round to 704 ms.
      {"beyond the counter's range", 1000, 4'294'968, UINT32_MAX, Wrap, Wrap + 100, 1, 1000},
      {"largest seconds", 1000, INT32_MAX, UINT32_MAX, Wrap, Wrap + 100, 1, 1000},
  };
  for (const WaitCase& c : cases) {
    SCOPED_TRACE(c.what);
    ui_.now = c.start;
    ui_.processed = 0;
    ui_.longestSleep = c.longestSleep;
    VelTextHandler::WaitSeconds(c.seconds);
    EXPECT_GE(ui_.now, c.endsAtLeast);
    EXPECT_LT(ui_.now, c.endsBelow);
    EXPECT_GE(ui_.processed, c.processedAtLeast);
    EXPECT_LE(ui_.processed, c.processedAtMost);
  }
}

} // namespace
