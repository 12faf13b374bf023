// Started programs on the emulated machine: one line each in the process log, and host
// programs that really run, found by the system's rules for command lines.
#include "platform/Files.h"
#include "platform/Process.h"
#include "platform/posix/ProcessLog.h"
#include "unit/platform/CurrentFolderGuard.h"
#include "unit/platform/PosixMachineTest.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

namespace {

namespace fs = std::filesystem;
using Record = std::vector<std::string>;

class ProcessesOnMachine : public PosixMachineTest {
protected:
  fs::path marker() const { return root() / "marker.txt"; }

  // A host program (a shell script) that writes its own path, its folder, the machine root it
  // was given and its arguments into the marker file, one per line.
  void makeProgram(const std::string& relative) const {
    makeFile(relative, "#!/bin/sh\n"
                       "{ printf '%s\\n' \"$0\" \"$PWD\" \"$QUILLFERN_ROOT\"\n"
                       "  for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > '" +
                           marker().string() + ".tmp' && mv '" + marker().string() + ".tmp' '" +
                           marker().string() + "'\n");
    fs::permissions(under(relative), fs::perms::owner_all | fs::perms::group_read);
  }

  // The marker's lines once the started program has written it; nothing if it never does.
  std::optional<std::vector<std::string>> waitForMarker() const {
    for (int i = 0; i < 3000 && !fs::exists(marker()); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::ifstream in(marker());
    if (!in) return std::nullopt;
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    fs::remove(marker());
    return lines;
  }

  Record lastRecord() const {
    auto records = platform::posix::readProcessLog();
    return records.empty() ? Record{} : records.back();
  }

  CurrentFolderGuard currentFolder_;
};

TEST_F(ProcessesOnMachine, StartedProgramGetsArgumentsFolderAndMachine) {
  makeProgram("c/Apps/Tool/run.exe");
  makeFolder("c/Work");
  ASSERT_TRUE(platform::setCurrentDirectory("C:\\Work"));
  const std::string command =
      "\"C:\\Apps\\Tool\\run.exe\" one \"two words\" \"a\\\"quote\" c:\\x\\";

  EXPECT_TRUE(platform::winExec(command, platform::showcmd::ShowNormal));
  std::optional<std::vector<std::string>> lines = waitForMarker();
  ASSERT_TRUE(lines.has_value()) << "the program did not run";
  EXPECT_EQ(*lines, (std::vector<std::string>{under("c/Apps/Tool/run.exe").string(),
                                              under("c/Work").string(), root().string(), "one",
                                              "two words", "a\"quote", "c:\\x\\"}));
  EXPECT_EQ(lastRecord(), (Record{"WinExec", command, "1", "C:\\Work", "started"}));
}

struct BlankCase {
  const char* commandLine;
  const char* program; // below the root
  const char* firstArgument;
};

TEST_F(ProcessesOnMachine, AnUnquotedPathWithBlanksRunsTheFirstProgramFound) {
  makeProgram("c/Program.exe");
  makeProgram("c/Program Files/Example/app.exe");
  const BlankCase cases[] = {
      {"C:\\Program Files\\Example\\app.exe", "c/Program.exe", "Files\\Example\\app.exe"},
      {"\"C:\\Program Files\\Example\\app.exe\"", "c/Program Files/Example/app.exe", nullptr},
      {"\"C:\\Program Files\\Example\\app\" /s", "c/Program Files/Example/app.exe", "/s"},
  };
  for (const BlankCase& c : cases) {
    SCOPED_TRACE(c.commandLine);
    EXPECT_TRUE(platform::winExec(c.commandLine, platform::showcmd::ShowNormal));
    std::optional<std::vector<std::string>> lines = waitForMarker();
    ASSERT_TRUE(lines.has_value() && lines->size() >= 3);
    EXPECT_EQ((*lines)[0], under(c.program).string());
    EXPECT_EQ(lines->size() > 3 ? (*lines)[3] : std::string(),
              c.firstArgument ? c.firstArgument : "");
  }
  // Without the planted program the unquoted text reaches the right one.
  fs::remove(under("c/Program.exe"));
  EXPECT_TRUE(platform::winExec("C:\\Program Files\\Example\\app.exe", 1));
  std::optional<std::vector<std::string>> lines = waitForMarker();
  ASSERT_TRUE(lines.has_value());
  EXPECT_EQ(lines->front(), under("c/Program Files/Example/app.exe").string());
}

TEST_F(ProcessesOnMachine, ShellExecuteRunsInTheGivenFolder) {
  makeProgram("c/Apps/tool.exe");
  makeFolder("c/Elsewhere");
  ASSERT_TRUE(platform::setCurrentDirectory("C:\\Elsewhere"));
  EXPECT_TRUE(platform::shellExecute("open", "tool.exe", "-x \"y z\"", "C:\\Apps", 1));
  std::optional<std::vector<std::string>> lines = waitForMarker();
  ASSERT_TRUE(lines.has_value());
  EXPECT_EQ(*lines,
            (std::vector<std::string>{under("c/Apps/tool.exe").string(), under("c/Apps").string(),
                                      root().string(), "-x", "y z"}));
  EXPECT_EQ(lastRecord(),
            (Record{"ShellExecute", "open", "tool.exe", "-x \"y z\"", "C:\\Apps", "1", "started"}));
}

TEST_F(ProcessesOnMachine, EveryStartIsOneLineOfTheLog) {
  makeFile("c/Apps/data.exe", "not a host program");
  makeFile("c/WINDOWS/system32/notepad.exe", "not a host program");
  makeFile("c/Apps/broken.exe", "no interpreter line");
  fs::permissions(under("c/Apps/broken.exe"), fs::perms::owner_all);

  EXPECT_TRUE(platform::winExec("C:\\Apps\\data.exe", platform::showcmd::Hide));
  EXPECT_FALSE(platform::winExec("C:\\Apps\\absent.exe /x", 1));
  EXPECT_TRUE(platform::winExec("notepad readme.txt", 3));
  EXPECT_FALSE(platform::winExec("C:\\Apps\\broken.exe", 1));
  EXPECT_FALSE(platform::winExec("", 1));
  EXPECT_FALSE(platform::shellExecute("open", "rundll32.exe",
                                      "shell32.dll,Control_RunDLL Desk.cpl,@0,1",
                                      "c:\\windows\\system32\\", 1));
  EXPECT_TRUE(platform::shellExecute("open", "http://example.com/a?b=1", "", "", 1));
  EXPECT_FALSE(platform::shellExecute("open", "C:\\Apps\\data.exe", "", "C:\\Absent", 1));
  EXPECT_FALSE(platform::winExec("C:\\odd\tname 100%.exe", 1));

  EXPECT_EQ(platform::posix::readProcessLog(),
            (std::vector<Record>{
                {"WinExec", "C:\\Apps\\data.exe", "0", "C:\\", "recorded"},
                {"WinExec", "C:\\Apps\\absent.exe /x", "1", "C:\\", "not-found"},
                {"WinExec", "notepad readme.txt", "3", "C:\\", "recorded"},
                {"WinExec", "C:\\Apps\\broken.exe", "1", "C:\\", "failed"},
                {"WinExec", "", "1", "C:\\", "not-found"},
                {"ShellExecute", "open", "rundll32.exe", "shell32.dll,Control_RunDLL Desk.cpl,@0,1",
                 "c:\\windows\\system32\\", "1", "not-found"},
                {"ShellExecute", "open", "http://example.com/a?b=1", "", "", "1", "recorded"},
                {"ShellExecute", "open", "C:\\Apps\\data.exe", "", "C:\\Absent", "1", "failed"},
                {"WinExec", "C:\\odd\tname 100%.exe", "1", "C:\\", "not-found"},
            }));
  // One text line per start, whatever the fields hold.
  std::ifstream log(root() / "processes.log");
  std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 9);
}

TEST_F(ProcessesOnMachine, ShortPathIsTheLongPathOfAnExistingFile) {
  makeFile("c/WINDOWS/system32/nightsky.scr");
  EXPECT_EQ(platform::shortPathName("c:\\windows\\system32\\\\\\nightsky.scr"),
            "c:\\windows\\system32\\\\\\nightsky.scr");
  EXPECT_EQ(platform::shortPathName("C:\\WINDOWS"), "C:\\WINDOWS");
  EXPECT_EQ(platform::shortPathName("c:\\windows\\system32\\absent.scr"), std::nullopt);
  EXPECT_EQ(platform::shortPathName(""), std::nullopt);
}

} // namespace
