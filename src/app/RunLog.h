// The run log that /LOG= asks for: one plain-text line per step of the program's run, written as
// the step happens so that a run that stops early leaves its log up to that point.
#pragma once

#include <cstdio>
#include <string>

namespace app {

class TForm1;

class RunLog {
public:
  RunLog() = default;
  ~RunLog() { Close(); }
  RunLog(const RunLog&) = delete;
  RunLog& operator=(const RunLog&) = delete;

  // Opens the file at `path` (Windows path text) for a new log, replacing an old one; false when
  // it cannot be written.
  bool Open(const std::string& path);
  void Close();
  bool IsOpen() const { return file_ != nullptr; }

  // Writes `text` as one line; nothing when no log is open.
  void Line(const std::string& text);

private:
  std::FILE* file_{nullptr};
};

// The program's one log.
RunLog& runLog();

// One line in the program's log, when it has one.
inline void LogLine(const std::string& text) { runLog().Line(text); }

// The values start-up read into the window: source folder, names, folders, groups, registry
// lines.
void LogStartUp(TForm1& form);

// The text with its control characters written as <CR>, <LF>, <TAB> or <0xHH>, so that a text
// with line breaks stays on one line; backslashes of paths stay as they are.
std::string OneLine(const std::string& text);

} // namespace app
