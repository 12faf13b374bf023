// The handlers that belong to the window itself: Cancel, the link label, the exit timer and the
// window's destruction.
#include "app/Installer.h"

namespace app {

void TForm1::Button1Click() {
  platform::ui().processMessages();
  const std::int32_t current = Notebook1.PageIndex();
  if (current < page::Finished) {
    const platform::MessageAnswer answer =
        platform::ui().messageBox("Are you sure you wish to cancel this setup?", "Confirm",
                                  platform::MessageIcon::Question, platform::MessageButtons::YesNo);
    if (answer == platform::MessageAnswer::Yes) platform::exitProgram(0);
    return;
  }
  // The uninstall pages end without a question; the Finished page ignores the click.
  if (current > page::Finished) platform::exitProgram(0);
}

void TForm1::RxLabel1MouseMove() { RxLabel1.Cursor = platform::Cursor::HandPoint; }

void TForm1::RxLabel1Click() { platform::ui().openWebAddress(RxLabel1.Caption); }

void TForm1::Timer2Timer() { platform::exitProgram(0); }

void TForm1::FormDestroy() { bSource1.reset(); }

} // namespace app
