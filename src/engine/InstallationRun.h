// The installation run: the installation folder, the program folder, the plan, the extraction of
// each plan entry through the unzip library, the staged uninstaller, the registry values, the
// installed-programs entry, the shortcuts and the Finished page's warning.
#pragma once

#include "UnzipInterface.h"
#include "app/Installer.h"
#include "engine/PlanEntry.h"

#include <cstdint>
#include <string>

namespace engine {

// The Finished page's warnings.
inline constexpr const char* kWriteWarning =
    "WARNING:\n\r\n\rSetup reported an error whilst writing: ";
inline constexpr const char* kNoFilesWarning =
    "WARNING:\n\r\n\rSetup reported an error: No files found for extraction.";

// The uninstaller folder's name in the Windows folder.
inline constexpr const char* kUninstallerFolderName = "$qfUninstallV1$";

// Makes the window's engine parts that are missing (archive reader, zero-filled unzip record,
// the callback's progress state) and binds form.RunInstallation to RunInstallation with the
// library's entry point `unzip`.
void BindInstallation(app::TForm1& form, UnZipEntryProc unzip);

// The whole installation, from the first folder to the Finished page. Errors that no step
// guards (a folder that cannot be made or entered, a missing payload, a plan entry whose size is
// no number, a path too long for the library's buffers, no shell link object) stop it at once
// and travel to the caller; the window then stays on the Install page.
void RunInstallation(app::TForm1& form, UnZipEntryProc unzip);

// Creates every missing level of the installation folder (DirectoryEdit1), setting dirCreated
// when one was missing. The drive level is neither tested nor created.
void PrepareInstallationFolder(app::TForm1& form);

// One library call per plan entry of ListBox13, each in its destination folder, which is created
// and made current first. A call that fails (by its result or by an error raised during it) sets
// ErrorText to the entry's subfolder, or to the entry's name when it has none.
void ExtractPlan(app::TForm1& form, UnZipEntryProc unzip);

// Copies setup.exe and unzdll.dll into the hidden uninstaller folder of the Windows folder and
// setup.ini and setup.ico into the installation folder. The first error ends the step silently.
void StageUninstaller(app::TForm1& form);

// Back to the normal pointer, Next enabled and Cancel disabled, on to the Finished page, and its
// warning from ErrorText (or the empty-plan warning).
void FinishInstallation(app::TForm1& form);

// The unzip library's callback: the caller must be the window that set up the record last; its
// progress state handles the message. Always 0.
std::int32_t QF_UNZIP_CALL UnZipCallback(UnZipCallbackInfo* info);

} // namespace engine
