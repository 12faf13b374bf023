// Which user-interface service is in use: the installed one, else the platform's quiet one.
#include "platform/Ui.h"

namespace platform {

UiService& quietUi(); // defined per platform

namespace {
UiService* installed = nullptr;
}

UiService& ui() { return installed ? *installed : quietUi(); }

UiService* setUi(UiService* service) {
  UiService* before = installed;
  installed = service;
  return before;
}

} // namespace platform
