// The scratch folder's name: unique in the temporary folder, made with the platform's own call.
#include "unit/platform/ScratchFolder.h"

#include "platform/Files.h"
#include "platform/System.h"

#include <stdexcept>

std::string makeScratchFolder() {
  std::string temp = platform::tempPath(platform::tempPathSize());
  if (temp.empty()) throw std::runtime_error("no temporary folder");
  if (temp.back() != '\\') temp += '\\';
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 1000; ++attempt) {
    std::string candidate = temp + "qf-scratch-" + std::to_string(platform::tickCount()) + "-" +
                            std::to_string(++counter);
    if (platform::createDirectory(candidate)) return candidate;
  }
  throw std::runtime_error("cannot make a scratch folder in " + temp);
}
