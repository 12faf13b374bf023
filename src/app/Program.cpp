// The program entry.
#include "app/Program.h"

#include "platform/CommandLine.h"

#include <memory>

namespace app {

int ProgramEntry(int argc, const char* const* argv, WindowHost& host, const FormBinder& bind) {
  platform::storeMainArguments(argc, argv);
  TApplication application;
  host.Initialize(application);
  application.Title = "Setup";
  auto form = std::make_unique<TForm1>();
  application.MainForm = form.get();
  // The shell's folder view fills itself as the window is created.
  form->FillProgramFolders();
  if (bind) bind(*form);
  host.Run(application);
  application.MainForm = nullptr;
  return 0;
}

} // namespace app
