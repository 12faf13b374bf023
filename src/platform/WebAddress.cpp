// Opening a web address the way both platforms' quiet services do.
#include "platform/WebAddress.h"

#include "platform/Files.h"
#include "platform/Process.h"

namespace platform {

namespace {
const char* const kFixedBrowser = "c:\\program files\\internet explorer\\iexplore.exe";
}

void openWebAddressDefault(const std::string& address) {
  // Quoted: unquoted, "c:\program.exe" would be tried first.
  if (fileExists(kFixedBrowser))
    winExec("\"" + std::string(kFixedBrowser) + "\" " + address, showcmd::ShowNormal);
  else
    shellExecute("open", address, "", "", showcmd::ShowNormal);
}

} // namespace platform
