// The program entry: the application object titled "Setup", the one main window, the message loop.
#pragma once

#include <functional>
#include <string>

#include "app/Installer.h"

namespace app {

// The application object; its title is the text the task bar shows for the program.
struct TApplication {
  std::string Title;
  TForm1* MainForm{nullptr};
};

// The window system's side of the program (the native window, or a runner without one).
class WindowHost {
public:
  virtual ~WindowHost() = default;
  // Sets up the window system for this thread, before anything else.
  virtual void Initialize(TApplication& application) = 0;
  // Shows and activates the main window, delivers its events to the form's handlers and runs the
  // message loop until the window is closed or the program ends itself.
  virtual void Run(TApplication& application) = 0;
};

// Binds what other parts of the program add to the window once it exists (the runs).
using FormBinder = std::function<void(TForm1&)>;

// Initialises the application, titles it "Setup", creates TForm1 as its main window and runs
// it. `argc`/`argv` are main's. Returns the exit code, 0, when the window has been closed; every
// other end of the program ends the process with 0 itself.
int ProgramEntry(int argc, const char* const* argv, WindowHost& host,
                 const FormBinder& bind = FormBinder());

} // namespace app
