// Replacing a host file through a temporary beside it and one rename.
#include "platform/posix/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace platform::posix {

bool writeFileAtomically(const std::filesystem::path& file, const std::string& bytes) {
  std::string pattern =
      (file.parent_path() / ("." + file.filename().string() + ".XXXXXX")).string();
  int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = ::fchmod(fd, 0644) == 0;
  for (std::size_t done = 0; ok && done < bytes.size();) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<std::size_t>(n);
  }
  ok = (::close(fd) == 0) && ok;
  ok = ok && std::rename(pattern.c_str(), file.c_str()) == 0;
  if (!ok) ::unlink(pattern.c_str());
  return ok;
}

} // namespace platform::posix
