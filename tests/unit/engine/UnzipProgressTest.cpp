// The program's side of the unzip interface: the record's switches, and the callback's effect on
// the status line, the two progress bars, the small-file carry and the error box; then a real
// library call driving the callback.
#include "engine/UnzipProgress.h"
#include "engine/InstallationPlan.h"
#include "platform/DynamicLibrary.h"
#include "platform/Ui.h"

#include "TempFolder.h"
#include "support/ZipWriter.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using engine::UnzipProgress;

// Records what the callback asks of the window system.
class RecordingUi : public platform::UiService {
public:
  RecordingUi() : previous_(platform::setUi(this)) {}
  ~RecordingUi() override { platform::setUi(previous_); }
  RecordingUi(const RecordingUi&) = delete;
  RecordingUi& operator=(const RecordingUi&) = delete;

  void processMessages() override { ++pumps; }
  void waitForMessage(std::uint32_t) override {}
  platform::MessageAnswer messageBox(const std::string& text, const std::string& title,
                                     platform::MessageIcon icon,
                                     platform::MessageButtons buttons) override {
    boxes.push_back(text);
    titles.push_back(title);
    icons.push_back(icon);
    EXPECT_EQ(buttons, platform::MessageButtons::Ok);
    return platform::MessageAnswer::Ok;
  }

  int pumps{0};
  std::vector<std::string> boxes;
  std::vector<std::string> titles;
  std::vector<platform::MessageIcon> icons;

private:
  platform::UiService* previous_;
};

// ---------------------------------------------------------------------------------------------
// SetUnZipSwitches

TEST(SetUnZipSwitchesTest, SetsItsWordsAndTouchesNoOther) {
  auto params = std::make_unique<UnZipParams>();
  auto* bytes = reinterpret_cast<unsigned char*>(params.get());
  std::memset(bytes, 0xAB, sizeof(UnZipParams));
  int caller = 0;
  const UnZipCallbackProc callback = [](UnZipCallbackInfo*) -> std::int32_t { return 0; };

  engine::SetUnZipSwitches(*params, &caller, callback);

  EXPECT_EQ(params->Caller, &caller);
  EXPECT_EQ(params->Version, 110);
  EXPECT_EQ(params->Callback, callback);
  EXPECT_EQ(params->Overwrite, -1);
  EXPECT_EQ(params->UseFolders, -1);
  for (std::int32_t word : {params->Switch24, params->Switch28, params->Switch32, params->Switch36,
                            params->Switch48, params->Switch52, params->Switch56})
    EXPECT_EQ(word, 0);
  EXPECT_EQ(params->MessageLevel, 7);

  struct Field {
    std::size_t offset;
    std::size_t size;
  };
  const Field set[] = {
      {offsetof(UnZipParams, Caller), sizeof(void*)},
      {offsetof(UnZipParams, Version), 4},
      {offsetof(UnZipParams, Callback), sizeof(UnZipCallbackProc)},
      {offsetof(UnZipParams, Switch24), 16}, // 24, 28, 32, 36
      {offsetof(UnZipParams, Overwrite), 4},
      {offsetof(UnZipParams, Switch48), 12}, // 48, 52, 56
      {offsetof(UnZipParams, UseFolders), 4},
      {offsetof(UnZipParams, MessageLevel), 4},
  };
  std::size_t untouched = 0;
  for (std::size_t at = 0; at < sizeof(UnZipParams); ++at) {
    bool isSet = false;
    for (const Field& field : set) isSet |= at >= field.offset && at < field.offset + field.size;
    if (isSet) continue;
    ASSERT_EQ(bytes[at], 0xAB) << "byte " << at << " changed";
    ++untouched;
  }
  EXPECT_GT(untouched, 16000u); // the table of file specifications and the reserved words
}

// ---------------------------------------------------------------------------------------------
// The callback

struct Bars {
  app::TLabel Label23;
  app::TProgressBar ProgressBar1;
  app::TProgressBar ProgressBar2;
};

UnZipCallbackInfo message(void* caller, std::int32_t action, std::int32_t size = 0,
                          const std::string& text = {}, std::int32_t code = 0) {
  UnZipCallbackInfo info{};
  info.StructSize = sizeof info;
  info.Caller = caller;
  info.ActionCode = action;
  info.FileSize = size;
  info.ErrorCode = code;
  std::memcpy(info.Message, text.data(), std::min(text.size(), sizeof info.Message - 1));
  return info;
}

class UnzipCallbackTest : public ::testing::Test {
protected:
  UnzipCallbackTest() : progress(&window, bars.Label23, bars.ProgressBar1, bars.ProgressBar2) {
    bars.Label23.Caption = "Preparing...";
    bars.ProgressBar1.Visible = false;
    bars.ProgressBar2.Max = 1000;
    bars.ProgressBar2.Step = 1;
    bars.ProgressBar2.Position = 1;
  }
  std::int32_t send(std::int32_t action, std::int32_t size = 0, const std::string& text = {},
                    std::int32_t code = 0) {
    const UnZipCallbackInfo info = message(&window, action, size, text, code);
    return progress.Callback(info);
  }

  RecordingUi ui;
  int window = 0; // stands for the main window
  Bars bars;
  UnzipProgress progress;
};

TEST_F(UnzipCallbackTest, ItemBeginsSetsStatusAndBars) {
  struct Case {
    std::int32_t size;
    double entrySize;
    std::int32_t bar1Max;
    std::int32_t bar2Step;
    double carry; // after, from 0
  };
  const Case cases[] = {
      {20480, 20480, 1, 1, 20480}, // small item: one unit, carried
      {32768, 32768, 1, 1, 0},     // exactly one unit: not carried
      {65535, 65535, 1, 1, 0},     // quotient 1
      {65536, 65536, 2, 1, 0},     //
      {100000, 100000, 3, 1, 0},   // truncated
      {49152, 32768, 1, 2, 0},     // step 1.5 rounds to 2
      {16384, 32768, 1, 0, 16384}, // step 0.5 rounds to 0
      {81920, 32768, 2, 2, 0},     // step 2.5 rounds to 2
      {114688, 32768, 3, 4, 0},    // step 3.5 rounds to 4
      {0, 0, 1, 1, 0},             // empty entry: step 1
      {500, 0, 1, 1, 500},         // plan entry size 0 but a sized item: step 1
      {0, 20480, 1, 0, 0},         // empty item of a sized entry
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    Bars fresh;
    fresh.ProgressBar1.Visible = false;
    fresh.ProgressBar1.Position = 9;
    fresh.ProgressBar2.Max = 1000;
    fresh.ProgressBar2.Step = 7;
    fresh.ProgressBar2.Position = 5;
    UnzipProgress item(&window, fresh.Label23, fresh.ProgressBar1, fresh.ProgressBar2);
    item.CurrentEntrySize = c.entrySize;
    EXPECT_EQ(item.Callback(message(&window, unzip::ActionItemBegins, c.size, "docs/a b.txt")), 0);
    EXPECT_EQ(fresh.Label23.Caption, "docs/a b.txt");
    EXPECT_TRUE(fresh.ProgressBar1.Visible);
    EXPECT_EQ(fresh.ProgressBar1.Max, c.bar1Max);
    EXPECT_EQ(fresh.ProgressBar1.Min, 1);
    EXPECT_EQ(fresh.ProgressBar1.Step, 1);
    EXPECT_EQ(fresh.ProgressBar1.Position, 1);
    EXPECT_EQ(fresh.ProgressBar2.Step, c.bar2Step);
    EXPECT_EQ(fresh.ProgressBar2.Position, 5);
    EXPECT_EQ(item.SmallFileCarry, c.carry);
  }
}

TEST_F(UnzipCallbackTest, SmallItemsAdvanceTheOverallBarPerUnitCarriedAcrossEntries) {
  // Each step: the item's size (the plan entry's size too) -> overall position and carry after.
  struct Step {
    std::int32_t size;
    std::int32_t position;
    double carry;
  };
  const Step steps[] = {
      {20480, 1, 20480}, // first item carried
      {20480, 2, 8192},  // 40960 is more than a unit: one step, 8192 left
      {24576, 2, 32768}, // exactly one unit carried is not more than one
      {1, 3, 1},         // now it is
      {32768, 3, 1},     // a full unit is no small item
      {0, 3, 1},         {32767, 3, 32768}, {20000, 4, 20000},
  };
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    SCOPED_TRACE(i);
    progress.CurrentEntrySize = steps[i].size;
    send(unzip::ActionItemBegins, steps[i].size, "f");
    send(unzip::ActionItemEnds);
    EXPECT_EQ(bars.ProgressBar2.Position, steps[i].position);
    EXPECT_EQ(progress.SmallFileCarry, steps[i].carry);
  }
}

TEST_F(UnzipCallbackTest, CarryStepsByTheItemsOverallStep) {
  // A 16384-byte item of a 32768-byte plan entry has step 0: its carried unit moves nothing.
  progress.SmallFileCarry = 30000;
  progress.CurrentEntrySize = 32768;
  send(unzip::ActionItemBegins, 16384, "half");
  EXPECT_EQ(bars.ProgressBar2.Step, 0);
  EXPECT_EQ(bars.ProgressBar2.Position, 1);
  EXPECT_EQ(progress.SmallFileCarry, 30000.0 + 16384 - 32768);
}

TEST_F(UnzipCallbackTest, ProgressMovesBothBarsUntilTheItemIsFull) {
  progress.CurrentEntrySize = 100000;
  send(unzip::ActionItemBegins, 100000, "big.bin");
  ASSERT_EQ(bars.ProgressBar1.Max, 3);
  const std::int32_t expected[][2] = {{2, 2}, {3, 3}, {3, 3}, {3, 3}}; // bar 1, bar 2
  for (const auto& after : expected) {
    send(unzip::ActionItemProgress);
    EXPECT_EQ(bars.ProgressBar1.Position, after[0]);
    EXPECT_EQ(bars.ProgressBar2.Position, after[1]);
  }
  send(unzip::ActionItemEnds);
  EXPECT_EQ(bars.ProgressBar1.Position, 1);
  EXPECT_EQ(bars.ProgressBar2.Position, 3);
}

TEST_F(UnzipCallbackTest, ProgressUsesTheOverallStepOfTheItem) {
  progress.CurrentEntrySize = 32768; // the library reports three times the plan's size
  send(unzip::ActionItemBegins, 98304, "grown.bin");
  ASSERT_EQ(bars.ProgressBar2.Step, 3);
  send(unzip::ActionItemProgress);
  send(unzip::ActionItemProgress);
  EXPECT_EQ(bars.ProgressBar1.Position, 3);
  EXPECT_EQ(bars.ProgressBar2.Position, 7);
}

TEST_F(UnzipCallbackTest, OverallBarStopsAtItsMaximum) {
  bars.ProgressBar2.Max = 2;
  progress.CurrentEntrySize = 163840;
  send(unzip::ActionItemBegins, 163840, "five-units.bin");
  for (int i = 0; i < 4; ++i) send(unzip::ActionItemProgress);
  EXPECT_EQ(bars.ProgressBar1.Position, 5);
  EXPECT_EQ(bars.ProgressBar2.Position, 2);

  app::TProgressBar beyond;
  beyond.Max = 0;
  beyond.Position = 1;
  beyond.Step = 1;
  engine::StepIt(beyond);
  EXPECT_EQ(beyond.Position, 1); // not pulled back below where it stands
}

TEST_F(UnzipCallbackTest, ErrorsShowABoxOnlyWithACode) {
  struct Case {
    std::string text;
    std::int32_t code;
    std::vector<std::string> boxes;
  };
  const std::string longText(700, 'L');
  const Case cases[] = {
      {"abc", 0, {}},
      {"abc", 5, {"ERROR: abc   code=5"}},
      {"", -3, {"ERROR:    code=-3"}},
      {longText, 8, {"ERROR: " + std::string(512, 'L') + "   code=8"}}, // read up to 512
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    ui.boxes.clear();
    EXPECT_EQ(send(unzip::ActionError, 0, c.text, c.code), 0);
    EXPECT_EQ(ui.boxes, c.boxes);
  }
  ASSERT_EQ(ui.titles.size(), 3u);
  EXPECT_EQ(ui.titles[0], "Setup");
  EXPECT_EQ(ui.icons[0], platform::MessageIcon::None);
  // Errors leave the display alone.
  EXPECT_EQ(bars.Label23.Caption, "Preparing...");
  EXPECT_FALSE(bars.ProgressBar1.Visible);
}

TEST_F(UnzipCallbackTest, EveryCallbackProcessesMessagesAndReturnsZero) {
  for (std::int32_t action : {1, 2, 3, 4, 0, 5, -1}) EXPECT_EQ(send(action, 10, "x", 0), 0);
  EXPECT_EQ(ui.pumps, 7);
  // Unknown actions change nothing.
  const std::string caption = bars.Label23.Caption;
  const std::int32_t position = bars.ProgressBar2.Position;
  send(9, 50000, "other");
  EXPECT_EQ(bars.Label23.Caption, caption);
  EXPECT_EQ(bars.ProgressBar2.Position, position);
}

TEST_F(UnzipCallbackTest, ForeignCallerIsAnInvalidCast) {
  int other = 0;
  EXPECT_THROW(progress.Callback(message(&other, unzip::ActionItemBegins, 10, "x")),
               engine::EInvalidCast);
  EXPECT_EQ(bars.Label23.Caption, "Preparing...");
  EXPECT_EQ(ui.pumps, 0);
}

// ---------------------------------------------------------------------------------------------
// A real call of the library with the switches and the callback

#ifdef QF_UNZDLL_PATH
const char* const LibraryPath = QF_UNZDLL_PATH;
#else
const char* const LibraryPath = "unzdll.dll"; // beside the test program
#endif

class UnzipLibraryCallTest : public ::testing::Test {
protected:
  UnzipLibraryCallTest()
      : library(platform::DynamicLibrary::load(LibraryPath)), params(new UnZipParams{}),
        progress(this, bars.Label23, bars.ProgressBar1, bars.ProgressBar2) {
    previous = std::filesystem::current_path();
    std::filesystem::create_directories(temp.path() / "dest");
    std::filesystem::current_path(temp.path() / "dest");
  }
  ~UnzipLibraryCallTest() override { std::filesystem::current_path(previous); }

  static std::int32_t QF_UNZIP_CALL callback(UnZipCallbackInfo* info) {
    return static_cast<UnzipLibraryCallTest*>(info->Caller)->progress.Callback(*info);
  }

  // One call as the extraction loop makes it.
  void extract(const std::string& name, double planSize) {
    auto* entry =
        reinterpret_cast<UnZipEntryProc>(library.entry(unzip::EntryOrdinal, unzip::EntryName));
    ASSERT_NE(entry, nullptr) << library.error();
    std::string archive = temp.text("setup.qfs");
    std::vector<char> archiveBuffer(256, '\0'), nameBuffer(256, '\0');
    archive.copy(archiveBuffer.data(), 255);
    name.copy(nameBuffer.data(), 255);
    params->ArchivePath = archiveBuffer.data();
    params->FileSpecs[0] = nameBuffer.data();
    params->FileSpecCount = 1;
    progress.CurrentEntrySize = planSize;
    entry(params.get());
  }

  TempFolder temp;
  platform::DynamicLibrary library;
  std::unique_ptr<UnZipParams> params;
  RecordingUi ui;
  Bars bars;
  UnzipProgress progress;
  std::filesystem::path previous;
};

TEST_F(UnzipLibraryCallTest, ExtractionMovesTheBarsAndReportsErrors) {
  ASSERT_TRUE(library.isLoaded()) << library.error();
  testzip::ZipWriter writer;
  writer.file("docs/big.bin", std::string(100000, 'b'), true);
  writer.file("small.txt", std::string(20480, 's'));
  writer.write(temp.text("setup.qfs"));
  engine::SetUnZipSwitches(*params, this, &UnzipLibraryCallTest::callback);
  bars.ProgressBar2.Max = 4; // (100000 + 2 * 20480) / 32768, rounded
  bars.ProgressBar2.Step = 1;
  bars.ProgressBar2.Position = 1;

  extract("docs/big.bin", 100000);
  EXPECT_EQ(bars.Label23.Caption, "docs/big.bin");
  EXPECT_EQ(bars.ProgressBar1.Max, 3);
  EXPECT_EQ(bars.ProgressBar1.Position, 1); // reset as the item ended
  EXPECT_EQ(bars.ProgressBar2.Position, 3); // two progress messages
  EXPECT_TRUE(std::filesystem::exists(temp.path() / "dest" / "docs" / "big.bin"));

  extract("small.txt", 20480);
  extract("small.txt", 20480);
  EXPECT_EQ(bars.ProgressBar2.Position, 4); // the carry passed one unit
  EXPECT_EQ(progress.SmallFileCarry, 8192.0);
  EXPECT_TRUE(ui.boxes.empty());
  EXPECT_GE(ui.pumps, 3 * 2 + 2);

  extract("missing.txt", 10);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0], "ERROR: entry not found in the archive: missing.txt   code=4");
}

} // namespace
