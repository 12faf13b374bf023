// The program's side of the unzip library: the parameter record's switches and the callback
// that shows the current item and moves the current-file and overall progress bars.
#pragma once

#include "UnzipInterface.h"
#include "app/Controls.h"

#include <cstdint>
#include <stdexcept>
#include <string>

namespace engine {

// Sets the record's fixed words before the first call of a run: the caller pointer handed back
// in every callback, the callback, the interface version, the switches (overwrite and folders
// on, the others off) and the message level. No other word is touched.
void SetUnZipSwitches(UnZipParams& params, void* caller, UnZipCallbackProc callback);

// A callback record whose caller pointer is not the window that set up the record.
class EInvalidCast : public std::logic_error {
public:
  EInvalidCast() : std::logic_error("Invalid class typecast") {}
};

// Moves the bar by its step. Past the maximum (or below the minimum) it stays at that end; a
// position already beyond the end stays where it is.
void StepIt(app::TProgressBar& bar);

// The message box text of an error message from the library.
std::string UnzipErrorText(const UnZipCallbackInfo& info);

// Reacts to the library's messages on the Install page's status line Label23, the current-file
// bar ProgressBar1 and the overall bar ProgressBar2, in units of 32768 bytes.
class UnzipProgress {
public:
  UnzipProgress(const void* caller, app::TLabel& label23, app::TProgressBar& progressBar1,
                app::TProgressBar& progressBar2)
      : caller_(caller), Label23(label23), ProgressBar1(progressBar1), ProgressBar2(progressBar2) {}

  // Set by the extraction loop before each call: the plan entry's size.
  double CurrentEntrySize{0.0};
  // Bytes of small items (under one unit) not yet shown on the overall bar. It runs on from one
  // entry to the next and is never reset.
  double SmallFileCarry{0.0};

  // Handles one message; always returns 0. Raises EInvalidCast when the record's caller is not
  // the one this object serves.
  std::int32_t Callback(const UnZipCallbackInfo& info);

private:
  const void* caller_;
  app::TLabel& Label23;
  app::TProgressBar& ProgressBar1;
  app::TProgressBar& ProgressBar2;
};

} // namespace engine
