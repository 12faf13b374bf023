// The unzip parameter record's switches and the progress callback of the extraction.
#include "engine/UnzipProgress.h"

#include "platform/Ui.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace engine {
namespace {

constexpr double Unit = 32768.0;
// An error message is read up to this many characters.
constexpr std::size_t ErrorTextLimit = 512;
// A plain message box carries the application's title.
constexpr const char* MessageTitle = "Setup";

std::string messageText(const UnZipCallbackInfo& info, std::size_t limit) {
  const std::size_t most = std::min(limit, sizeof info.Message);
  const void* nul = std::memchr(info.Message, '\0', most);
  const std::size_t length =
      nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - info.Message) : most;
  return std::string(info.Message, length);
}

// The nearest integer, halves to the even neighbour, kept within 32 bits.
std::int32_t roundHalfEven(double value) {
  const double whole = std::floor(value);
  const double fraction = value - whole;
  double rounded = whole;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) rounded = whole + 1.0;
  constexpr double Largest = std::numeric_limits<std::int32_t>::max();
  constexpr double Smallest = std::numeric_limits<std::int32_t>::min();
  if (rounded >= Largest) return std::numeric_limits<std::int32_t>::max();
  if (rounded <= Smallest) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(rounded);
}

} // namespace

void SetUnZipSwitches(UnZipParams& params, void* caller, UnZipCallbackProc callback) {
  params.Version = unzip::InterfaceVersion;
  params.Caller = caller;
  params.Callback = callback;
  params.Overwrite = unzip::On;
  params.UseFolders = unzip::On;
  params.Switch24 = unzip::Off;
  params.Switch28 = unzip::Off;
  params.Switch32 = unzip::Off;
  params.Switch36 = unzip::Off;
  params.Switch48 = unzip::Off;
  params.Switch52 = unzip::Off;
  params.Switch56 = unzip::Off;
  params.MessageLevel = unzip::MessagesAll;
}

void StepIt(app::TProgressBar& bar) {
  std::int64_t next = std::int64_t{bar.Position} + bar.Step;
  // The end of the range holds the bar; a position already beyond it is not pulled back.
  if (bar.Step >= 0)
    next = std::min<std::int64_t>(next, std::max(bar.Max, bar.Position));
  else
    next = std::max<std::int64_t>(next, std::min(bar.Min, bar.Position));
  bar.Position = static_cast<std::int32_t>(next);
}

std::string UnzipErrorText(const UnZipCallbackInfo& info) {
  return "ERROR: " + messageText(info, ErrorTextLimit) +
         "   code=" + std::to_string(info.ErrorCode);
}

std::int32_t UnzipProgress::Callback(const UnZipCallbackInfo& info) {
  if (info.Caller != caller_) throw EInvalidCast();
  switch (info.ActionCode) {
  case unzip::ActionItemBegins: {
    Label23.Caption = messageText(info, sizeof info.Message);
    const std::int32_t size = info.FileSize;
    ProgressBar1.Visible = true;
    const std::int32_t units = size / 32768;
    ProgressBar1.Max = units <= 1 ? 1 : units;
    // An empty plan entry has no ratio; its item counts as one step, like any item whose size
    // agrees with its plan entry.
    ProgressBar2.Step = CurrentEntrySize > 0.0 ? roundHalfEven(size / CurrentEntrySize) : 1;
    ProgressBar1.Min = 1;
    ProgressBar1.Step = 1;
    ProgressBar1.Position = 1;
    if (size < 32768) {
      SmallFileCarry += size;
      if (SmallFileCarry > Unit) {
        SmallFileCarry -= Unit;
        StepIt(ProgressBar2);
      }
    }
    break;
  }
  case unzip::ActionItemProgress:
    if (ProgressBar1.Position < ProgressBar1.Max) {
      StepIt(ProgressBar1);
      StepIt(ProgressBar2);
    }
    break;
  case unzip::ActionItemEnds:
    ProgressBar1.Position = 1;
    break;
  case unzip::ActionError:
    if (info.ErrorCode != 0)
      platform::ui().messageBox(UnzipErrorText(info), MessageTitle, platform::MessageIcon::None,
                                platform::MessageButtons::Ok);
    break;
  default:
    break;
  }
  platform::ui().processMessages();
  return 0;
}

} // namespace engine
