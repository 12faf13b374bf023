// The installation run's own steps: the installation folder level by level, the extraction loop
// against a library that records each call (and fails where told), the staged uninstaller and
// the Finished page's warning.
#include "engine/InstallationRun.h"
#include "engine/Errors.h"
#include "engine/UnzipProgress.h"
#include "platform/Files.h"
#include "unit/app/Scratch.h"
#include "unit/app/ScriptedUi.h"
#include "unit/platform/CurrentFolderGuard.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using testing_ui::Scratch;
using testing_ui::ScriptedUi;

// What the library saw in one call.
struct Call {
  std::string currentDirectory;
  std::string archivePath;
  std::string entryName;
  std::int32_t nameCount;
  double entrySize;
};

// A library that records its calls and fails for the entries it is told to.
struct FakeLibrary {
  app::TForm1* form{nullptr};
  std::vector<Call> calls;
  std::map<std::string, std::int32_t> results;
  std::set<std::string> raises;
};
FakeLibrary* fake = nullptr;

std::int32_t QF_UNZIP_CALL fakeUnzip(UnZipParams* params) {
  const std::string name = params->FileSpecs[0];
  fake->calls.push_back(Call{platform::currentDirectory(), params->ArchivePath, name,
                             params->FileSpecCount, fake->form->UnZipProgress->CurrentEntrySize});
  if (fake->raises.count(name)) throw std::runtime_error("raised during the call");
  const auto result = fake->results.find(name);
  return result == fake->results.end() ? unzip::Ok : result->second;
}

class InstallationRun : public testing::Test {
protected:
  void SetUp() override {
    fake = &library;
    library.form = &form;
    form.DirectoryEdit1.Text = scratch.folder() + "\\app";
    form.curDir.Caption = scratch.folder() + "\\source\\";
    scratch.makeFolder(form.DirectoryEdit1.Text);
    engine::BindInstallation(form, fakeUnzip);
    form.SetUnZipSwitches();
  }
  void TearDown() override { fake = nullptr; }

  bool sameFolder(const std::string& a, const std::string& b) const {
    std::error_code ec;
    return std::filesystem::equivalent(scratch.hostPath(a), scratch.hostPath(b), ec);
  }

  CurrentFolderGuard folderGuard;
  Scratch scratch;
  ScriptedUi ui;
  app::TForm1 form;
  FakeLibrary library;
};

// --- The installation folder.

struct FolderCase {
  const char* name;
  std::vector<std::string> existing; // below the scratch folder
  std::string folder;                // below the scratch folder
  bool dirCreated;
};

const FolderCase kFolderCases[] = {
    {"two missing levels", {"program files"}, "\\program files\\acme\\app", true},
    {"every level exists", {"program files\\acme\\app"}, "\\program files\\acme\\app", false},
    {"trailing backslash, existing", {"acme"}, "\\acme\\", false},
    {"trailing backslash, missing", {}, "\\acme\\", true},
};

TEST_F(InstallationRun, PrepareInstallationFolderCreatesEachMissingLevel) {
  for (const FolderCase& c : kFolderCases) {
    SCOPED_TRACE(c.name);
    const std::string base = scratch.folder() + "\\" + std::to_string(&c - kFolderCases);
    scratch.makeFolder(base);
    for (const std::string& existing : c.existing) scratch.makeFolder(base + "\\" + existing);
    form.DirectoryEdit1.Text = base + c.folder;
    form.dirCreated = false; // the run clears it before this step
    engine::PrepareInstallationFolder(form);
    EXPECT_EQ(form.dirCreated, c.dirCreated);
    EXPECT_TRUE(platform::directoryExists(form.DirectoryEdit1.Text));
  }
}

TEST_F(InstallationRun, AFolderThatCannotBeCreatedStopsTheRun) {
  scratch.writeFile(scratch.folder() + "\\blocked", "a file where a folder should go");
  form.DirectoryEdit1.Text = scratch.folder() + "\\blocked\\app";
  EXPECT_THROW(engine::PrepareInstallationFolder(form), engine::EInOutError);
}

// --- The extraction loop.

TEST_F(InstallationRun, EachEntryIsExtractedInItsOwnDestinationFolder) {
  const std::string app = form.DirectoryEdit1.Text;
  form.ListBox13.Items = {"3,example.exe,,20480", "0,manual.txt,docs,1200", "0,deep.txt,a\\b,7",
                          "0,notes,notes,3", "0,report,1,2.txt,,4096"};
  engine::ExtractPlan(form, fakeUnzip);

  const std::vector<std::pair<std::string, std::string>> expected = {
      {app, "example.exe"},
      {app + "\\docs", "manual.txt"},
      {app + "\\a\\b", "deep.txt"},
      // The name equals the subfolder: the folder of the entry before stays current.
      {app + "\\a\\b", "notes"},
      // A name with commas keeps them; its subfolder and size are the last two fields.
      {app, "report,1,2.txt"},
  };
  ASSERT_EQ(library.calls.size(), expected.size());
  const double sizes[] = {20480, 1200, 7, 3, 4096};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(expected[i].second);
    const Call& call = library.calls[i];
    EXPECT_TRUE(sameFolder(call.currentDirectory, expected[i].first)) << call.currentDirectory;
    EXPECT_EQ(call.entryName, expected[i].second);
    EXPECT_EQ(call.archivePath, form.curDir.Caption + "\\setup.qfs");
    EXPECT_EQ(call.nameCount, 1);
    EXPECT_EQ(call.entrySize, sizes[i]);
  }
  EXPECT_TRUE(platform::directoryExists(app + "\\docs"));
  EXPECT_EQ(form.ErrorText, "");
}

struct FailureCase {
  const char* name;
  std::vector<std::string> plan;
  std::map<std::string, std::int32_t> results;
  std::set<std::string> raises;
  std::string errorText;
};

const FailureCase kFailureCases[] = {
    {"a failed result in a subfolder names the subfolder",
     {"0,manual.txt,docs,10", "0,readme.txt,,5"},
     {{"manual.txt", unzip::ChecksumError}},
     {},
     "docs"},
    {"a failed result without subfolder names the entry",
     {"0,manual.txt,docs,10", "0,readme.txt,,5"},
     {{"readme.txt", unzip::DataError}},
     {},
     "readme.txt"},
    {"an error raised during the call is recorded the same way",
     {"3,tool.exe,bin,10", "0,readme.txt,,5"},
     {},
     {"tool.exe"},
     "bin"},
    {"an entry without subfolder that raises does not empty an earlier failure",
     {"0,manual.txt,docs,10", "0,readme.txt,,5"},
     {{"manual.txt", unzip::WriteError}},
     {"readme.txt"},
     "readme.txt"},
    {"a later success keeps the failure",
     {"0,manual.txt,docs,10", "0,readme.txt,,5"},
     {{"manual.txt", unzip::EntryNotFound}},
     {},
     "docs"},
};

TEST_F(InstallationRun, AFailedCallIsRecordedAndTheExtractionGoesOn) {
  for (const FailureCase& c : kFailureCases) {
    SCOPED_TRACE(c.name);
    library.calls.clear();
    library.results = c.results;
    library.raises = c.raises;
    form.ErrorText.clear();
    form.ListBox13.Items = c.plan;
    engine::ExtractPlan(form, fakeUnzip);
    EXPECT_EQ(library.calls.size(), c.plan.size());
    EXPECT_EQ(form.ErrorText, c.errorText);
  }
}

TEST_F(InstallationRun, ASizeThatIsNoNumberStopsTheRunBeforeTheCall) {
  for (const char* line : {"0,a.txt,,12a", "0,a.txt,,", "0,a.txt,,-1", "0,a.txt,,4294967296"}) {
    SCOPED_TRACE(line);
    form.ListBox13.Items = {line};
    EXPECT_THROW(engine::ExtractPlan(form, fakeUnzip), engine::EConvertError);
  }
  // The whole range the plan writes is accepted: sizes are unsigned 32-bit numbers.
  form.ListBox13.Items = {"0,big.bin,,4294967295"};
  engine::ExtractPlan(form, fakeUnzip);
  ASSERT_EQ(library.calls.size(), 1u);
  EXPECT_EQ(library.calls[0].entrySize, 4294967295.0);
}

TEST_F(InstallationRun, TextsTooLongForTheLibrarysBuffersAreRefusedNotCut) {
  const std::string longest(255, 'n');
  form.ListBox13.Items = {"0," + longest + ",,1"};
  engine::ExtractPlan(form, fakeUnzip);
  ASSERT_EQ(library.calls.size(), 1u);
  EXPECT_EQ(library.calls[0].entryName, longest);

  library.calls.clear();
  form.ListBox13.Items = {"0," + longest + "n,,1"};
  EXPECT_THROW(engine::ExtractPlan(form, fakeUnzip), engine::EInOutError);
  form.curDir.Caption = scratch.folder() + "\\" + std::string(250, 's') + "\\";
  form.ListBox13.Items = {"0,a.txt,,1"};
  EXPECT_THROW(engine::ExtractPlan(form, fakeUnzip), engine::EInOutError);
  EXPECT_TRUE(library.calls.empty());
}

TEST_F(InstallationRun, TheCallbackServesOnlyTheWindowThatSetUpTheRecord) {
  UnZipCallbackInfo info{};
  info.Caller = &form;
  info.ActionCode = unzip::ActionItemBegins;
  info.FileSize = 100;
  std::snprintf(info.Message, sizeof info.Message, "%s", "readme.txt");
  EXPECT_EQ(engine::UnZipCallback(&info), 0);
  EXPECT_EQ(form.Label23.Caption, "readme.txt");

  app::TForm1 other;
  info.Caller = &other;
  EXPECT_THROW(engine::UnZipCallback(&info), engine::EInvalidCast);
}

// --- The uninstaller and the end of the run.

TEST_F(InstallationRun, StagingCopiesTheUninstallerAndHidesItsFolder) {
  const std::string source = form.curDir.Caption;
  for (const char* name : {"setup.exe", "unzdll.dll", "setup.ini"})
    scratch.writeFile(source + name, std::string("new ") + name);
  const std::string uninstaller = form.NTH.SpecialFolder("windows") + "\\$qfUninstallV1$";
  scratch.writeFile(uninstaller + "\\setup.exe", "an older copy");

  engine::StageUninstaller(form);

  const std::pair<std::string, std::string> copies[] = {
      {uninstaller + "\\setup.exe", "new setup.exe"},
      {uninstaller + "\\unzdll.dll", "new unzdll.dll"},
      {form.DirectoryEdit1.Text + "\\setup.ini", "new setup.ini"},
  };
  for (const auto& [path, content] : copies) {
    std::ifstream in(scratch.hostPath(path), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), content) << path;
  }
  // No setup.ico in the source folder: nothing copied, nothing reported.
  EXPECT_FALSE(platform::fileExists(form.DirectoryEdit1.Text + "\\setup.ico"));
  const auto attributes = platform::fileAttributes(uninstaller);
  ASSERT_TRUE(attributes.has_value());
  EXPECT_EQ(*attributes & platform::fileattr::Hidden, platform::fileattr::Hidden);
}

TEST_F(InstallationRun, FinishingShowsTheLastFailureOrTheEmptyPlan) {
  struct Case {
    std::string errorText;
    std::vector<std::string> plan;
    std::string warning;
  };
  const Case cases[] = {
      {"", {"0,a.txt,,1"}, ""},
      {"docs", {"0,a.txt,docs,1"}, "WARNING:\n\r\n\rSetup reported an error whilst writing: docs."},
      {"docs", {}, "WARNING:\n\r\n\rSetup reported an error: No files found for extraction."},
      {"", {}, "WARNING:\n\r\n\rSetup reported an error: No files found for extraction."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.errorText + " / " + std::to_string(c.plan.size()));
    form.Notebook1.SetPageIndex(app::page::Install);
    form.SetCursor(platform::Cursor::HourGlass);
    form.ErrorText = c.errorText;
    form.ListBox13.Items = c.plan;
    engine::FinishInstallation(form);
    EXPECT_EQ(form.Notebook1.PageIndex(), app::page::Finished);
    EXPECT_EQ(form.Label24.Caption, c.warning);
    EXPECT_TRUE(form.Button2.Enabled);
    EXPECT_EQ(form.Button2.Caption, "Finish");
    EXPECT_FALSE(form.Button1.Enabled);
    EXPECT_EQ(form.Cursor, platform::Cursor::Default);
  }
}

TEST(PlanEntryFields, NamesWithCommasKeepTheirCommas) {
  struct Case {
    const char* line;
    engine::PlanEntry fields;
  };
  const Case cases[] = {
      {"3,example.exe,,20480", {"3", "example.exe", "", "20480"}},
      {"0,manual.txt,docs,1200", {"0", "manual.txt", "docs", "1200"}},
      {"0,a,b.txt,sub,5", {"0", "a,b.txt", "sub", "5"}},
      {"0,a,b,c.txt,,5", {"0", "a,b,c.txt", "", "5"}},
      // Lines shorter than a plan entry read as the text handler reads fields.
      {"0,x", {"0", "x", "x", "x"}},
      {"0,x,y", {"0", "x", "y", "y"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const engine::PlanEntry entry = engine::SplitPlanEntry(c.line);
    EXPECT_EQ(entry.type, c.fields.type);
    EXPECT_EQ(entry.name, c.fields.name);
    EXPECT_EQ(entry.subfolder, c.fields.subfolder);
    EXPECT_EQ(entry.size, c.fields.size);
  }
}

} // namespace
