// Writing the run log.
#include "app/RunLog.h"

#include "app/Installer.h"
#include "platform/Files.h"

namespace app {

bool RunLog::Open(const std::string& path) {
  Close();
  if (path.empty()) return false;
  file_ = std::fopen(platform::nativeFilePath(path).c_str(), "wb");
  return file_ != nullptr;
}

void RunLog::Close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
}

void RunLog::Line(const std::string& text) {
  if (!file_) return;
  const std::string line = OneLine(text) + "\n";
  std::fwrite(line.data(), 1, line.size(), file_);
  // Each line reaches the file at once: the program may end at any moment, without clean-up.
  std::fflush(file_);
}

RunLog& runLog() {
  static RunLog log;
  return log;
}

void LogStartUp(TForm1& form) {
  RunLog& log = runLog();
  if (!log.IsOpen()) return;
  log.Line("start-up: source folder " + form.curDir.Caption);
  log.Line("start-up: program " + form.progName.Caption + ", title " + form.Label1.Caption +
           ", publisher " + form.Label39.Caption);
  log.Line("start-up: installation folder " + form.DirectoryEdit1.Text + ", program folder " +
           form.Edit1.Text);
  const auto lists = form.GroupLists();
  const auto boxes = form.GroupCheckBoxes();
  log.Line("start-up: required components, " + std::to_string(lists[0]->Items.size()) + " entries");
  for (std::size_t group = 0; group < boxes.size(); ++group) {
    if (!boxes[group]->Visible) continue;
    log.Line("start-up: group " + std::to_string(group + 1) + " " + boxes[group]->Caption + ", " +
             std::to_string(lists[group + 1]->Items.size()) + " entries");
  }
  for (const std::string& line : form.ListBox14.Items) log.Line("start-up: registry line " + line);
}

std::string OneLine(const std::string& text) {
  static const char* const kHex = "0123456789ABCDEF";
  std::string line;
  line.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '\r') {
      line += "<CR>";
    } else if (c == '\n') {
      line += "<LF>";
    } else if (c == '\t') {
      line += "<TAB>";
    } else if (c < 0x20 || c == 0x7F) {
      line += "<0x";
      line += kHex[c >> 4];
      line += kHex[c & 0xF];
      line += '>';
    } else {
      line += static_cast<char>(c);
    }
  }
  return line;
}

} // namespace app
