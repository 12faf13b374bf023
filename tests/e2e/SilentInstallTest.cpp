// Whole silent installations through setup.exe of the native build: a source folder made in a
// temporary folder (the program, its library, a script, an icon and a payload), one run of
// "setup.exe /S /LOG=..." into a fresh emulated machine, and what the run left there: files,
// registry.reg, shortcut files read back with lnkinfo, the process log, the staged uninstaller.
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/posix/Machine.h"
#include "platform/posix/ProcessLog.h"
#include "support/ZipWriter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using platform::RegRoot;
using Strings = std::vector<std::string>;

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// One word for sh: in single quotes, a single quote written as '\''.
std::string shellWord(const std::string& text) {
  std::string word = "'";
  for (char c : text) word += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return word + "'";
}

// The example script of the script format, with a start-up entry, the registry examples and the
// lines that only the tests of failures add.
const char* const kScript =
    "[Quillfern Installer v1.10]\n"
    "progname=Sample App\n"
    "company=Sample Co\n"
    "version=2.0\n"
    "[minimal]\n"
    "app=sample.exe\n"
    "file=readme.txt\n"
    "startup=agent.exe\n"
    "[Documentation]\n"
    "file=*.txt,docs\n"
    "[Examples]\n"
    "file=*.cpp,examples\n"
    "[registry]\n"
    "key=HKEY_CURRENT_USER\\Software\\Example\\App,string,Path,C:\\Apps\\Example\n"
    "key=HKEY_LOCAL_MACHINE\\Software\\Example,bool,Enabled,TRUE\n"
    "key=HKEY_LOCAL_MACHINE\\Software\\Example,bool,Visible,yes\n"
    "key=HKLM\\Software\\Example\\Sticky,string,Root,machine\n"
    "key=HKEY_LOCAL_MACHINE\\Software\\Example,integer,Count,12\n"
    "key=HKEY_CURRENT_USER\\Software\\Example,string,Greeting,Hello, world\n"
    "key=HKEY_CURRENT_USER\\Software\\Example,string,Name\n"
    "key=hkey_local_machine\\Software\\Lower,string,Where,user\n";

// What the payload holds for the script's lines.
const std::map<std::string, std::string> kPayload = {
    {"sample.exe", std::string(70000, 'S')},
    {"readme.txt", "Read me first.\r\n"},
    {"agent.exe", "agent"},
    {"manual.txt", std::string(40000, 'm')},
    {"hello.cpp", "int main() {}\n"},
    {"src/util.cpp", "// util\n"},
};

// An entry whose stored checksum does not match its data.
testzip::Entry damaged(const std::string& name) {
  testzip::Entry entry;
  entry.name = name;
  entry.data = "damaged";
  entry.crc = 1234u;
  return entry;
}

testzip::ZipWriter payload(const std::map<std::string, std::string>& files) {
  testzip::ZipWriter zip;
  for (const auto& [name, data] : files) zip.file(name, data, /*deflate=*/true);
  return zip;
}

struct Outcome {
  int code{-1};
  std::string out;
  std::string err;
  std::string log;
};

struct Link {
  std::string target;
  std::string workingDirectory;
};

// A source folder and a fresh machine for each test, both in one temporary folder.
class SilentInstall : public testing::Test {
protected:
  void SetUp() override {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    base_ = fs::temp_directory_path() /
            ("qf-e2e-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    source_ = base_ / "source";
    root_ = base_ / "machine";
    fs::create_directories(source_);
    fs::create_directories(root_);
    fs::copy_file(QF_SETUP_EXE, source_ / "setup.exe");
    fs::copy_file(QF_UNZDLL_DLL, source_ / "unzdll.dll");
    writeFile(source_ / "setup.ini", kScript);
    writeFile(source_ / "setup.ico", "an icon");
    payload(kPayload).write((source_ / "setup.qfs").string());
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(base_, ec);
  }

  // setup.exe /S /LOG=<log> followed by `switches`, with the machine's root in its environment.
  Outcome install(const Strings& switches, bool silent = true) {
    const fs::path log = base_ / "install.log";
    std::string command = "cd " + shellWord(base_.string()) +
                          " && QUILLFERN_ROOT=" + shellWord(root_.string()) + " timeout 120 " +
                          shellWord((source_ / "setup.exe").string());
    if (silent) command += " /S";
    command += " " + shellWord("/LOG=" + log.string());
    for (const std::string& s : switches) command += " " + shellWord(s);
    command += " >" + shellWord((base_ / "out.txt").string()) + " 2>" +
               shellWord((base_ / "err.txt").string()) + "; echo $? >" +
               shellWord((base_ / "rc.txt").string());
    std::system(command.c_str());
    Outcome run;
    run.code = std::stoi(readFile(base_ / "rc.txt"));
    run.out = readFile(base_ / "out.txt");
    run.err = readFile(base_ / "err.txt");
    run.log = readFile(log);
    // The test reads the machine the program has just written.
    platform::posix::Machine::instance().reset(root_);
    return run;
  }

  fs::path host(const std::string& windowsPath) const {
    return platform::posix::Machine::instance().hostPath(windowsPath);
  }

  std::optional<std::string> regString(RegRoot root, const std::string& key,
                                       const std::string& name) const {
    return platform::RegKey::open(root, key, false).readString(name);
  }
  std::optional<std::uint32_t> regDword(RegRoot root, const std::string& key,
                                        const std::string& name) const {
    return platform::RegKey::open(root, key, false).readDword(name);
  }

  // The link file as lnkinfo reads it.
  std::optional<Link> readLink(const std::string& windowsPath) const {
    const fs::path file = host(windowsPath);
    if (!fs::exists(file)) return std::nullopt;
    const fs::path out = base_ / "lnkinfo.txt";
    const std::string command =
        "lnkinfo " + shellWord(file.string()) + " >" + shellWord(out.string()) + " 2>&1";
    if (std::system(command.c_str()) != 0) return std::nullopt;
    Link link;
    std::istringstream lines(readFile(out));
    for (std::string line; std::getline(lines, line);) {
      const std::size_t colon = line.find(": ");
      if (colon == std::string::npos) continue;
      const std::string value = line.substr(colon + 2);
      if (line.find("Local path") != std::string::npos) link.target = value;
      if (line.find("Working directory") != std::string::npos) link.workingDirectory = value;
    }
    return link;
  }

  fs::path base_;
  fs::path source_;
  fs::path root_;
};

const std::string kFolder = "c:\\program files\\Sample Co\\Sample App";
const std::string kEntryKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sample App v2.0";
const std::string kCommonPrograms = "c:\\programdata\\microsoft\\windows\\start menu\\programs\\";
const std::string kCommonDesktop = "c:\\users\\public\\desktop\\";
const std::string kCommonStartup =
    "c:\\programdata\\microsoft\\windows\\start menu\\programs\\startup\\";

TEST_F(SilentInstall, TheExampleScriptInstallsEverythingWhereThePlanPutsIt) {
  const Outcome run = install({"/RUN"});
  ASSERT_EQ(run.code, 0) << run.err << run.log;

  // Files: the required entries in the installation folder, the groups in their subfolders
  // (an archive folder below its destination subfolder), the copies of script and icon.
  const std::map<std::string, std::string> files = {
      {"\\sample.exe", kPayload.at("sample.exe")},
      {"\\readme.txt", kPayload.at("readme.txt")},
      {"\\agent.exe", kPayload.at("agent.exe")},
      {"\\docs\\readme.txt", kPayload.at("readme.txt")},
      {"\\docs\\manual.txt", kPayload.at("manual.txt")},
      {"\\examples\\hello.cpp", kPayload.at("hello.cpp")},
      {"\\examples\\src\\util.cpp", kPayload.at("src/util.cpp")},
      {"\\setup.ini", kScript},
      {"\\setup.ico", "an icon"},
  };
  for (const auto& [name, content] : files)
    EXPECT_EQ(readFile(host(kFolder + name)), content) << name;

  // The staged uninstaller: byte-identical copies in the hidden folder of the Windows folder.
  const std::string uninstaller = "c:\\windows\\$qfUninstallV1$";
  EXPECT_EQ(readFile(host(uninstaller + "\\setup.exe")), readFile(source_ / "setup.exe"));
  EXPECT_EQ(readFile(host(uninstaller + "\\unzdll.dll")), readFile(source_ / "unzdll.dll"));
  const auto attributes = platform::fileAttributes(uninstaller);
  ASSERT_TRUE(attributes.has_value());
  EXPECT_TRUE(*attributes & platform::fileattr::Hidden);

  // The installed-programs entry, value by value; "Sample Co" did not exist, so the flag is 1.
  const std::pair<const char*, std::string> entry[] = {
      {"DisplayName", "Sample App (Remove Only)"},
      {"UninstallString", "c:\\windows\\\\$qfUninstallV1$\\setup.exe /uninstall: 1," + kFolder},
      {"DisplayIcon", kFolder + "\\setup.ico"},
      {"Publisher", "Sample Co"},
  };
  for (const auto& [name, value] : entry)
    EXPECT_EQ(regString(RegRoot::LocalMachine, kEntryKey, name), value) << name;

  // The script's registry lines.
  EXPECT_EQ(regString(RegRoot::CurrentUser, "Software\\Example\\App", "Path"), "C:\\Apps\\Example");
  EXPECT_EQ(regDword(RegRoot::LocalMachine, "Software\\Example", "Enabled"), 1u);
  // Bool data other than true and false: the key is there, the value is not, no warning.
  EXPECT_FALSE(regDword(RegRoot::LocalMachine, "Software\\Example", "Visible").has_value());
  // An unknown root name keeps the root of the line before: HKEY_LOCAL_MACHINE here...
  EXPECT_EQ(regString(RegRoot::LocalMachine, "Software\\Example\\Sticky", "Root"), "machine");
  EXPECT_EQ(regDword(RegRoot::LocalMachine, "Software\\Example", "Count"), 12u);
  // ...the data ends at its first comma, and three fields read the last one as the data...
  EXPECT_EQ(regString(RegRoot::CurrentUser, "Software\\Example", "Greeting"), "Hello");
  EXPECT_EQ(regString(RegRoot::CurrentUser, "Software\\Example", "Name"), "Name");
  // ...and a lower-case root name is no root name: HKEY_CURRENT_USER, from the line before.
  EXPECT_EQ(regString(RegRoot::CurrentUser, "Software\\Lower", "Where"), "user");
  EXPECT_FALSE(platform::RegKey::open(RegRoot::LocalMachine, "Software\\Lower", false).isOpen());
  const std::string registry = readFile(root_ / "registry.reg");
  EXPECT_NE(registry.find("[HKEY_LOCAL_MACHINE\\Software\\Example]\n\"Count\"=dword:0000000c\n"
                          "\"Enabled\"=dword:00000001\n"),
            std::string::npos)
      << registry;

  // Shortcuts: the first entry is named after the program, the others after their file.
  const std::string target = kFolder + "\\\\sample.exe";
  const std::string agent = kFolder + "\\\\agent.exe";
  const std::pair<std::string, std::string> links[] = {
      {kCommonPrograms + "Sample App\\Sample App.lnk", target},
      {kCommonDesktop + "Sample App.lnk", target},
      {kCommonPrograms + "Sample App\\agent.lnk", agent},
      {kCommonDesktop + "agent.lnk", agent},
      {kCommonStartup + "agent.lnk", agent},
  };
  for (const auto& [file, path] : links) {
    SCOPED_TRACE(file);
    const std::optional<Link> link = readLink(file);
    ASSERT_TRUE(link.has_value());
    EXPECT_EQ(link->target, path);
    EXPECT_EQ(link->workingDirectory, kFolder + "\\\\");
  }
  EXPECT_FALSE(fs::exists(host(kCommonStartup + "Sample App.lnk")));

  // /RUN: Finish started the first shortcut's target, quoted, from the installation folder.
  bool started = false;
  for (const Strings& record : platform::posix::readProcessLog()) {
    if (record.size() < 5 || record[0] != "WinExec") continue;
    started = true;
    EXPECT_EQ(record[1], "\"" + target + "\"");
    EXPECT_TRUE(fs::equivalent(host(record[3]), host(kFolder)));
  }
  EXPECT_TRUE(started);

  // The log has a line for each step.
  for (const std::string& line :
       Strings{"start-up: program Sample App, title Sample App v2.0 Setup",
               "plan entry: 3,sample.exe,,70000", "plan entry: 0,src/util.cpp,examples,8",
               "extract: manual.txt into ", "registry: ", "uninstall entry: ", "shortcut: ",
               "program to run: " + target, "finished: no warning", "exit code: 0"})
    EXPECT_NE(run.log.find(line), std::string::npos) << line << "\n" << run.log;
}

TEST_F(SilentInstall, TheSwitchesMakeTheWizardsChoices) {
  struct Case {
    const char* name;
    Strings switches;
    std::string folder;
    Strings installed;
    Strings absent;
    std::string programFolder;
    bool desktop;
  };
  const Case cases[] = {
      {"minimal, no desktop shortcut, own program folder, folder with blanks",
       {"/TYPE=minimal", "/NODESKTOP", "/GROUP=Tools", "/D=C:\\Apps\\My  Sample"},
       "C:\\Apps\\My  Sample",
       {"sample.exe", "readme.txt", "agent.exe"},
       {"docs", "examples"},
       "Tools",
       false},
      {"components name the groups",
       {"/COMPONENTS=examples"},
       kFolder,
       {"sample.exe", "examples\\hello.cpp"},
       {"docs"},
       "Sample App",
       true},
      {"no component at all",
       {"/COMPONENTS="},
       kFolder,
       {"sample.exe", "readme.txt"},
       {"docs", "examples"},
       "Sample App",
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(root_);
    fs::create_directories(root_);
    const Outcome run = install(c.switches);
    ASSERT_EQ(run.code, 0) << run.err << run.log;
    for (const std::string& name : c.installed)
      EXPECT_TRUE(fs::exists(host(c.folder + "\\" + name))) << name;
    for (const std::string& name : c.absent)
      EXPECT_FALSE(fs::exists(host(c.folder + "\\" + name))) << name;
    const std::optional<Link> link =
        readLink(kCommonPrograms + c.programFolder + "\\Sample App.lnk");
    ASSERT_TRUE(link.has_value());
    EXPECT_EQ(link->target, c.folder + "\\\\sample.exe");
    EXPECT_EQ(fs::exists(host(kCommonDesktop + "Sample App.lnk")), c.desktop);
    EXPECT_EQ(regString(RegRoot::LocalMachine, kEntryKey, "UninstallString"),
              "c:\\windows\\\\$qfUninstallV1$\\setup.exe /uninstall: 1," + c.folder);
    // Without /RUN, Finish starts nothing.
    EXPECT_TRUE(platform::posix::readProcessLog().empty());
  }
}

TEST_F(SilentInstall, AnExistingFolderLeavesTheFlagClear) {
  fs::create_directories(root_ / "c" / "Apps" / "Existing");
  const Outcome run = install({"/D=C:\\Apps\\Existing"});
  ASSERT_EQ(run.code, 0) << run.err << run.log;
  EXPECT_EQ(regString(RegRoot::LocalMachine, kEntryKey, "UninstallString"),
            "c:\\windows\\\\$qfUninstallV1$\\setup.exe /uninstall: 0,C:\\Apps\\Existing");
  EXPECT_TRUE(fs::exists(root_ / "c" / "Apps" / "Existing" / "sample.exe"));
}

TEST_F(SilentInstall, AScreenSaverBecomesTheUsersScreenSaver) {
  writeFile(source_ / "setup.ini", "[Quillfern Installer v1.00]\n"
                                   "progname=Night Sky\n"
                                   "version=1\n"
                                   "scr=nightsky.scr\n");
  payload({{"nightsky.scr", "saver"}}).write((source_ / "setup.qfs").string());
  const Outcome run = install({"/RUN"});
  ASSERT_EQ(run.code, 0) << run.err << run.log;

  // An scr line installs into the system folder, which ends in a backslash: three in a row.
  const std::string saver = "c:\\windows\\system32\\\\\\nightsky.scr";
  EXPECT_EQ(readFile(host(saver)), "saver");
  const std::optional<Link> link = readLink(kCommonPrograms + "Night Sky\\Night Sky.lnk");
  ASSERT_TRUE(link.has_value());
  EXPECT_EQ(link->target, saver);
  // This machine keeps no short names: the real (long) path, never a made-up one.
  EXPECT_EQ(regString(RegRoot::CurrentUser, "Control Panel\\Desktop", "SCRNSAVE.EXE"), saver);
  bool settings = false;
  for (const Strings& record : platform::posix::readProcessLog())
    if (record.size() > 3 && record[0] == "ShellExecute" && record[2] == "rundll32.exe")
      settings = record[3] == "shell32.dll,Control_RunDLL Desk.cpl,@0,1";
  EXPECT_TRUE(settings);
  // The system folder existed: the flag is clear.
  EXPECT_NE(regString(RegRoot::LocalMachine,
                      "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Night Sky v1",
                      "UninstallString")
                .value_or("")
                .find("/uninstall: 0,c:\\windows\\system32\\"),
            std::string::npos);
}

// How runs that cannot finish, or finish with a warning, end.
struct Ending {
  const char* name;
  std::function<void(const fs::path& source, const fs::path& root)> prepare;
  Strings switches;
  int code;
  std::string says; // in standard error and in the log
};

const Ending kEndings[] = {
    {"no payload",
     [](const fs::path& source, const fs::path&) { fs::remove(source / "setup.qfs"); },
     {},
     4,
     "setup.qfs\" not found!"},
    {"a program folder that cannot be created",
     nullptr,
     {"/GROUP=Missing\\Tools"},
     4,
     "Cannot create the program folder"},
    {"an installation folder that cannot be created",
     [](const fs::path&, const fs::path& root) { writeFile(root / "c" / "Blocked", "a file"); },
     {"/D=C:\\Blocked\\App"},
     4,
     "Cannot create the folder C:\\Blocked\\"},
    {"a payload that matches nothing",
     [](const fs::path& source, const fs::path&) {
       payload({{"other.bin", "x"}}).write((source / "setup.qfs").string());
     },
     {},
     3,
     "WARNING:\n\nSetup reported an error: No files found for extraction."},
    {"an integer that does not convert",
     [](const fs::path& source, const fs::path&) {
       writeFile(source / "setup.ini",
                 std::string(kScript) +
                     "key=HKEY_LOCAL_MACHINE\\Software\\Example,integer,Count,12a\n");
     },
     {},
     3,
     "Setup reported an error whilst writing: HKEY_LOCAL_MACHINE\\Software\\Example\\Count."},
    {"a damaged entry in a subfolder",
     [](const fs::path& source, const fs::path&) {
       testzip::ZipWriter zip = payload(kPayload);
       zip.add(damaged("damaged.txt"));
       zip.write((source / "setup.qfs").string());
     },
     {"/COMPONENTS=Documentation"},
     3,
     "Setup reported an error whilst writing: docs."},
    {"a damaged entry without subfolder names the entry",
     [](const fs::path& source, const fs::path&) {
       std::map<std::string, std::string> files = kPayload;
       files.erase("readme.txt");
       testzip::ZipWriter zip = payload(files);
       zip.add(damaged("readme.txt"));
       zip.write((source / "setup.qfs").string());
     },
     {"/TYPE=minimal"},
     3,
     "Setup reported an error whilst writing: readme.txt."},
    {"an unknown switch", nullptr, {"/QUIET"}, 1, "Unknown switch /QUIET."},
    {"an unknown component",
     nullptr,
     {"/COMPONENTS=Documentation,Extras"},
     1,
     "Unknown component Extras"},
    {"no script",
     [](const fs::path& source, const fs::path&) { fs::remove(source / "setup.ini"); },
     {},
     1,
     "Error in locating Setup components!"},
    {"a script with a wrong header",
     [](const fs::path& source, const fs::path&) {
       writeFile(source / "setup.ini", "[Quillfern Installer v2.00]\nprogname=X\n");
     },
     {},
     1,
     "Error in INI file!"},
    {"no unzip library",
     [](const fs::path& source, const fs::path&) { fs::remove(source / "unzdll.dll"); },
     {},
     1,
     "unzdll.dll cannot be loaded"},
};

TEST_F(SilentInstall, RunsThatCannotFinishSayWhyInTheirExitCode) {
  for (const Ending& e : kEndings) {
    SCOPED_TRACE(e.name);
    TearDown();
    SetUp();
    if (e.prepare) e.prepare(source_, root_);
    const Outcome run = install(e.switches);
    EXPECT_EQ(run.code, e.code) << run.err << run.log;
    EXPECT_NE(run.err.find(e.says), std::string::npos) << run.err;
    // A run that could not start may end before the window exists; its log says why.
    const std::string logged = e.code == 1 ? e.says : "exit code: " + std::to_string(e.code);
    EXPECT_NE(run.log.find(logged), std::string::npos) << run.log;
  }
}

TEST_F(SilentInstall, WithoutS_TheNativeBuildHasNoWizardToShow) {
  const Outcome run = install({}, /*silent=*/false);
  EXPECT_EQ(run.code, 1);
  EXPECT_EQ(run.err, "This build has no wizard window; run with /S for a silent installation.\n");
  EXPECT_FALSE(fs::exists(root_ / "c" / "Program Files" / "Sample Co"));
}

} // namespace
