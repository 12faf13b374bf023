// A whole silent installation by the Windows build against the real system (Wine): setup.exe and
// unzdll.dll from beside this test copied into a source folder with a script and a payload, one
// run of "setup.exe /S /LOG=...", then the files, the registry (in-process and through reg.exe)
// and the shortcuts read back through the shell's own link object. What the run made is removed
// again afterwards.
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/System.h"
#include "support/ZipWriter.h"

#include "ShellLinkReader.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

using platform::RegRoot;
using Strings = std::vector<std::string>;

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string folderOf(const std::string& path) {
  return path.substr(0, path.find_last_of("\\/") + 1);
}

// Runs of backslashes as one, letters A-Z in one case: how the system compares two paths.
std::string comparable(const std::string& path) {
  std::string text;
  for (char c : path) {
    if (c == '\\' && !text.empty() && text.back() == '\\') continue;
    text += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return text;
}

struct Ran {
  DWORD code{0xFFFFFFFF};
  std::string out;
  std::string err;
};

// Runs `commandLine` with standard output and error in files, for at most two minutes.
Ran runProgram(const std::string& commandLine, const std::string& folder) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  const std::string outPath = folder + "\\out.txt";
  const std::string errPath = folder + "\\err.txt";
  HANDLE out = CreateFileA(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  HANDLE err = CreateFileA(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process{};
  std::string text = commandLine;
  Ran ran;
  if (CreateProcessA(nullptr, text.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(),
                     &startup, &process)) {
    if (WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0)
      GetExitCodeProcess(process.hProcess, &ran.code);
    else
      TerminateProcess(process.hProcess, 99);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  CloseHandle(out);
  CloseHandle(err);
  ran.out = readFile(outPath);
  ran.err = readFile(errPath);
  return ran;
}

// A source folder in the temporary folder; the names the run makes are unique to this test run.
class SilentInstallOnWindows : public testing::Test {
protected:
  void SetUp() override {
    const std::string temp = platform::tempPath(platform::tempPathSize());
    ASSERT_FALSE(temp.empty());
    tag_ = std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());
    base_ = temp + "qf-wine-install-" + tag_;
    source_ = base_ + "\\source";
    folder_ = base_ + "\\Installed Apps\\Wine Sample";
    program_ = "Wine Sample " + tag_;
    ASSERT_TRUE(std::filesystem::create_directories(source_));
    const std::string bin = folderOf(platform::programPath());
    ASSERT_TRUE(platform::copyFile(bin + "setup.exe", source_ + "\\setup.exe", false));
    ASSERT_TRUE(platform::copyFile(bin + "unzdll.dll", source_ + "\\unzdll.dll", false));
    script_ = "[Quillfern Installer v1.10]\r\n"
              "progname=" +
              program_ +
              "\r\n"
              "company=Sample Co\r\n"
              "version=2.0\r\n"
              "[minimal]\r\n"
              "app=sample.exe\r\n"
              "startup=agent.exe\r\n"
              "[Documentation]\r\n"
              "file=*.txt,docs\r\n"
              "[registry]\r\n"
              "key=HKEY_CURRENT_USER\\" +
              userKey() +
              ",string,Greeting,Hello, world\r\n"
              "key=HKEY_LOCAL_MACHINE\\" +
              machineKey() +
              ",integer,Count,12\r\n"
              "key=HKLM\\" +
              machineKey() + ",bool,Enabled,true\r\n";
    writeFile(source_ + "\\setup.ini", script_);
    writeFile(source_ + "\\setup.ico", "an icon");
    testzip::ZipWriter zip;
    zip.file("sample.exe", std::string(50000, 'S'), true);
    zip.file("agent.exe", "agent", true);
    zip.file("manual.txt", "manual", true);
    zip.write(source_ + "\\setup.qfs");
  }

  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(base_, ec);
    std::filesystem::remove_all(programFolder(), ec);
    for (const std::string& link :
         {desktop() + program_ + ".lnk", desktop() + "agent.lnk", startup() + "agent.lnk"})
      platform::deleteFile(link);
    platform::RegKey::deleteKeyTree(RegRoot::LocalMachine, entryKey());
    platform::RegKey::deleteKeyTree(RegRoot::CurrentUser, userKey());
    platform::RegKey::deleteKeyTree(RegRoot::LocalMachine, machineKey());
  }

  std::string userKey() const { return "Software\\QuillfernWineTest\\" + tag_; }
  std::string machineKey() const { return "Software\\QuillfernWineTest\\" + tag_; }
  std::string entryKey() const {
    return "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + program_ + " v2.0";
  }
  static std::string shell(int csidl) { return platform::shellFolder(csidl) + "\\"; }
  std::string programFolder() const { return shell(platform::csidl::CommonPrograms) + program_; }
  static std::string desktop() { return shell(platform::csidl::CommonDesktopDirectory); }
  static std::string startup() { return shell(platform::csidl::CommonStartup); }

  Ran install(const Strings& switches) {
    std::string line = "\"" + source_ + "\\setup.exe\" /S \"/LOG=" + base_ + "\\install.log\"";
    for (const std::string& s : switches) line += " " + s;
    return runProgram(line, base_);
  }

  platform::ComApartment apartment_;
  std::string tag_, base_, source_, folder_, program_, script_;
};

TEST_F(SilentInstallOnWindows, APackageInstallsEndToEnd) {
  const Ran run = install({"/D=" + folder_});
  const std::string log = readFile(base_ + "\\install.log");
  ASSERT_EQ(run.code, 0u) << run.err << log;

  EXPECT_EQ(readFile(folder_ + "\\sample.exe"), std::string(50000, 'S'));
  EXPECT_EQ(readFile(folder_ + "\\agent.exe"), "agent");
  EXPECT_EQ(readFile(folder_ + "\\docs\\manual.txt"), "manual");
  EXPECT_EQ(readFile(folder_ + "\\setup.ini"), script_);
  EXPECT_EQ(readFile(folder_ + "\\setup.ico"), "an icon");
  const std::string uninstaller =
      platform::shellFolder(platform::csidl::Windows) + "\\$qfUninstallV1$";
  EXPECT_TRUE(platform::fileExists(uninstaller + "\\setup.exe"));
  EXPECT_TRUE(platform::fileExists(uninstaller + "\\unzdll.dll"));
  EXPECT_TRUE(platform::fileAttributes(uninstaller).value_or(0) & FILE_ATTRIBUTE_HIDDEN);

  // The registry, read in this process...
  const platform::RegKey entry = platform::RegKey::open(RegRoot::LocalMachine, entryKey(), false);
  ASSERT_TRUE(entry.isOpen());
  const std::string windows = platform::shellFolder(platform::csidl::Windows);
  std::string lowerWindows = windows;
  for (char& c : lowerWindows) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  const std::string command =
      lowerWindows + "\\\\$qfUninstallV1$\\setup.exe /uninstall: 1," + folder_;
  EXPECT_EQ(entry.readString("UninstallString"), command);
  EXPECT_EQ(entry.readString("DisplayName"), program_ + " (Remove Only)");
  EXPECT_EQ(entry.readString("DisplayIcon"), folder_ + "\\setup.ico");
  EXPECT_EQ(entry.readString("Publisher"), "Sample Co");
  const platform::RegKey user = platform::RegKey::open(RegRoot::CurrentUser, userKey(), false);
  EXPECT_EQ(user.readString("Greeting"), "Hello");
  const platform::RegKey machine =
      platform::RegKey::open(RegRoot::LocalMachine, machineKey(), false);
  EXPECT_EQ(machine.readDword("Count"), 12u);
  EXPECT_EQ(machine.readDword("Enabled"), 1u);

  // ...and by the system's own registry tool.
  const Ran query =
      runProgram("reg.exe query \"HKLM\\" + entryKey() + "\" /v UninstallString", base_);
  EXPECT_EQ(query.code, 0u);
  EXPECT_NE(query.out.find(command), std::string::npos) << query.out;

  // Shortcuts, read through the shell's link object.
  const std::string target = folder_ + "\\\\sample.exe";
  const std::pair<std::string, std::string> links[] = {
      {programFolder() + "\\" + program_ + ".lnk", target},
      {desktop() + program_ + ".lnk", target},
      {programFolder() + "\\agent.lnk", folder_ + "\\\\agent.exe"},
      {startup() + "agent.lnk", folder_ + "\\\\agent.exe"},
  };
  for (const auto& [file, path] : links) {
    SCOPED_TRACE(file);
    const std::optional<ReadLink> link = readLink(file);
    ASSERT_TRUE(link.has_value());
    EXPECT_EQ(comparable(link->path), comparable(path));
    EXPECT_EQ(comparable(link->workingDirectory), comparable(folder_ + "\\"));
  }
  EXPECT_NE(log.find("program to run: " + target), std::string::npos) << log;
  EXPECT_NE(log.find("exit code: 0"), std::string::npos) << log;
}

TEST_F(SilentInstallOnWindows, FailuresEndWithTheirExitCodes) {
  const Ran unknown = install({"/COMPONENTS=Extras"});
  EXPECT_EQ(unknown.code, 1u);
  EXPECT_NE(unknown.err.find("Unknown component Extras"), std::string::npos) << unknown.err;

  ASSERT_TRUE(platform::deleteFile(source_ + "\\setup.qfs"));
  const Ran missing = install({"/D=" + folder_});
  EXPECT_EQ(missing.code, 4u);
  EXPECT_NE(missing.err.find("setup.qfs\" not found!"), std::string::npos) << missing.err;
}

} // namespace
