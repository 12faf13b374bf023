// setup.exe: reads its own switches, binds the unzip library and the runs, and runs the window
// as the wizard or silently.
#include "app/Program.h"
#include "app/RunLog.h"
#include "app/SetupSwitches.h"
#include "app/SilentInstall.h"
#include "app/WizardHost.h"
#include "engine/FinishActions.h"
#include "engine/InstallationRun.h"
#include "platform/CommandLine.h"
#include "platform/DynamicLibrary.h"
#include "platform/Shell.h"
#include "platform/System.h"

#include <string>

namespace {

// The folder of the running program, with its last separator.
std::string programFolder() {
  const std::string path = platform::programPath();
  const std::size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

} // namespace

int main(int argc, char** argv) {
  platform::storeMainArguments(argc, argv);
  const app::SetupSwitches switches = app::ParseSetupSwitches(platform::commandLine());
  // A silent run speaks through standard error, also when started from a console window.
  if (switches.silent) platform::attachParentConsoleForErrors();
  if (switches.log && !switches.log->empty() && !app::runLog().Open(*switches.log)) {
    app::ReportStartFailure(switches.silent, "Cannot write the log file " + *switches.log + ".");
    return app::kSilentNotStarted;
  }
  if (!switches.error.empty()) {
    app::ReportStartFailure(switches.silent, switches.error);
    return app::kSilentNotStarted;
  }
  // Start-up reads the script's own arguments only.
  platform::overrideCommandLine(switches.rest);

  // The shell's link objects live in this thread's apartment for the whole program.
  platform::ComApartment apartment;

  // The program is bound to its unzip library as it starts: without the library beside it, the
  // program does not start at all.
  const std::string libraryPath = programFolder() + "unzdll.dll";
  const platform::DynamicLibrary library = platform::DynamicLibrary::load(libraryPath);
  const auto unzip =
      reinterpret_cast<UnZipEntryProc>(library.entry(unzip::EntryOrdinal, unzip::EntryName));
  if (!unzip) {
    app::ReportStartFailure(switches.silent,
                            "Setup cannot start: the unzip library " + libraryPath +
                                " cannot be loaded" +
                                (library.error().empty() ? "." : " (" + library.error() + ")."));
    return app::kSilentNotStarted;
  }

  const app::FormBinder bind = [unzip](app::TForm1& form) {
    engine::BindInstallation(form, unzip);
    form.RunFinishActions = [&form] { engine::RunFinishActions(form); };
  };
  if (switches.silent) {
    app::SilentHost host(switches);
    app::ProgramEntry(argc, argv, host, bind);
    return host.ExitCode();
  }
  const std::unique_ptr<app::WindowHost> host = app::MakeWizardHost();
  return app::ProgramEntry(argc, argv, *host, bind);
}
