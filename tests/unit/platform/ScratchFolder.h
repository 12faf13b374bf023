// A fresh folder of its own in the machine's temporary folder for one test, addressed by Windows
// path text, with short ways to write and read files in it. On Windows it is removed afterwards;
// on the emulated machine it goes with the machine's root.
#pragma once

#include <optional>
#include <string>

class ScratchFolder {
public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // The folder, without a trailing backslash.
  const std::string& path() const { return path_; }
  // `relative` (backslash-separated) inside the folder.
  std::string operator/(const std::string& relative) const { return path_ + "\\" + relative; }

  // Writes (replaces) a file with `content`; its folder must exist.
  void writeFile(const std::string& relative, const std::string& content) const;
  // The content of a file, or nothing when it cannot be read.
  std::optional<std::string> readFile(const std::string& relative) const;

private:
  std::string path_;
};

// Makes a new, uniquely named folder in the temporary folder and returns its path.
std::string makeScratchFolder();
