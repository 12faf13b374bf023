// Starting programs on the emulated machine: every start is recorded in the machine's process
// log, and a program that is an executable file of the host really runs, detached, in the
// machine's current folder and with the machine's root in its environment.
#include "platform/Process.h"

#include "platform/System.h"
#include "platform/posix/LineFields.h"
#include "platform/posix/Machine.h"
#include "platform/posix/ProcessLog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <vector>

extern char** environ;

namespace platform {

using posix::Machine;

namespace fs = std::filesystem;

namespace {

std::string upToZero(const std::string& text) { return std::string(text.c_str()); }

bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool hasFolderPart(std::string_view name) {
  return name.find_first_of("\\/:") != std::string_view::npos;
}

bool hasExtension(std::string_view name) {
  std::size_t start = name.find_last_of("\\/:");
  std::string_view last = start == std::string_view::npos ? name : name.substr(start + 1);
  return last.find('.') != std::string_view::npos;
}

std::string joinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  char last = folder.back();
  return (last == '\\' || last == '/') ? folder + name : folder + "\\" + name;
}

bool isFolder(const fs::path& host) {
  struct stat info {};
  return !host.empty() && ::stat(host.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::optional<fs::path> existingFile(Machine& machine, const std::string& windowsPath) {
  fs::path host = machine.hostPath(windowsPath);
  struct stat info {};
  if (host.empty() || ::stat(host.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
    return std::nullopt;
  return host;
}

bool hostExecutable(const fs::path& host) { return ::access(host.c_str(), X_OK) == 0; }

// The folder of the running program, as text.
std::string programFolder(Machine& machine) {
  const std::string& self = machine.programPath();
  std::size_t cut = self.find_last_of("\\/");
  return cut == std::string::npos ? std::string() : self.substr(0, cut + 1);
}

// Finds a program file: a name with a folder part where it points, a bare name in each of
// `folders` in turn; each as given and, without an extension, with ".exe" appended.
std::optional<fs::path> findProgram(Machine& machine, const std::string& name,
                                    const std::vector<std::string>& folders) {
  if (name.empty()) return std::nullopt;
  std::vector<std::string> names{name};
  if (!hasExtension(name)) names.push_back(name + ".exe");
  if (hasFolderPart(name)) {
    for (const std::string& candidate : names)
      if (auto found = existingFile(machine, candidate)) return found;
    return std::nullopt;
  }
  for (const std::string& folder : folders)
    for (const std::string& candidate : names)
      if (auto found = existingFile(machine, joinPath(folder, candidate))) return found;
  return std::nullopt;
}

// Where the system looks for a program named without a folder.
std::vector<std::string> searchFolders(Machine& machine, const std::string& first) {
  std::vector<std::string> folders;
  if (!first.empty()) folders.push_back(first);
  folders.push_back(programFolder(machine));
  folders.push_back(machine.currentDirectory());
  if (auto system = machine.shellFolder(csidl::System)) folders.push_back(*system);
  folders.push_back(machine.windowsDirectory().first);
  return folders;
}

struct Program {
  fs::path host;
  std::string arguments;
};

// The program of a command line and the text after it, by the system's rules: a quoted first
// token is the program; otherwise the text up to each blank in turn, then the whole text, is
// tried, and the first that names a file wins.
std::optional<Program> programOf(Machine& machine, const std::string& commandLine) {
  std::string_view text(commandLine);
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  std::vector<std::string> folders = searchFolders(machine, std::string());
  if (!text.empty() && text.front() == '"') {
    std::size_t close = text.find('"', 1);
    std::string name(text.substr(1, close == std::string_view::npos ? text.npos : close - 1));
    std::string rest(close == std::string_view::npos ? std::string_view() : text.substr(close + 1));
    if (auto found = findProgram(machine, name, folders)) return Program{*found, rest};
    return std::nullopt;
  }
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && !isBlank(text[i])) continue;
    if (auto found = findProgram(machine, std::string(text.substr(0, i)), folders))
      return Program{*found, std::string(text.substr(i))};
  }
  return std::nullopt;
}

// Arguments split as a Windows program's start-up code splits them: blanks separate outside
// quotes; 2n backslashes before a quote are n backslashes and the quote toggles quoting, 2n+1
// are n backslashes and a literal quote; "" inside quotes is a literal quote.
std::vector<std::string> splitArguments(std::string_view text) {
  std::vector<std::string> arguments;
  std::size_t i = 0;
  for (;;) {
    while (i < text.size() && isBlank(text[i])) ++i;
    if (i == text.size()) return arguments;
    std::string argument;
    bool quoted = false;
    while (i < text.size() && (quoted || !isBlank(text[i]))) {
      char c = text[i];
      if (c == '\\') {
        std::size_t n = 0;
        while (i < text.size() && text[i] == '\\') ++n, ++i;
        if (i < text.size() && text[i] == '"') {
          argument.append(n / 2, '\\');
          if (n % 2 == 1) {
            argument += '"';
            ++i;
          }
        } else {
          argument.append(n, '\\');
        }
      } else if (c == '"') {
        if (quoted && i + 1 < text.size() && text[i + 1] == '"') {
          argument += '"';
          i += 2;
        } else {
          quoted = !quoted;
          ++i;
        }
      } else {
        argument += c;
        ++i;
      }
    }
    arguments.push_back(std::move(argument));
  }
}

// Starts `program` detached (its own session, no link to this process's terminal or output) in
// `folder`; true once the program's image has replaced the new process.
bool launchDetached(const fs::path& program, const std::vector<std::string>& arguments,
                    const fs::path& folder) {
  // Everything the new process needs is built before fork: only system calls follow there.
  std::vector<std::string> argvText{program.string()};
  argvText.insert(argvText.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& a : argvText) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> envText;
  for (char** e = environ; e && *e; ++e)
    if (std::strncmp(*e, "QUILLFERN_ROOT=", 15) != 0) envText.emplace_back(*e);
  // A program of this machine (another setup.exe, say) must find the same machine.
  envText.push_back("QUILLFERN_ROOT=" + Machine::instance().root().string());
  std::vector<char*> envp;
  for (std::string& e : envText) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::string where = folder.string();

  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) return false;
  pid_t child = ::fork();
  if (child < 0) {
    ::close(report[0]);
    ::close(report[1]);
    return false;
  }
  if (child == 0) {
    // The middle process only detaches the program from this one and ends, so that no child is
    // left for this process to wait for.
    ::setsid();
    pid_t grandchild = ::fork();
    if (grandchild != 0) ::_exit(grandchild < 0 ? 1 : 0);
    int null = ::open("/dev/null", O_RDWR);
    if (null >= 0) {
      ::dup2(null, 0);
      ::dup2(null, 1);
      ::dup2(null, 2);
    }
    // Nothing else of this process (lock files, pipes of a test runner) reaches the program.
    ::close_range(3, ~0u, CLOSE_RANGE_CLOEXEC);
    int error = 0;
    if (::chdir(where.c_str()) == 0) {
      ::execve(argv[0], argv.data(), envp.data());
    }
    error = errno;
    [[maybe_unused]] ssize_t n = ::write(report[1], &error, sizeof error);
    ::_exit(127);
  }
  ::close(report[1]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int error = 0;
  ssize_t n;
  while ((n = ::read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
  }
  ::close(report[0]);
  // Nothing came through the pipe: it was closed by the successful exec.
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 && n == 0;
}

bool isAddress(std::string_view text) {
  return text.find("://") != std::string_view::npos || text.rfind("mailto:", 0) == 0;
}

} // namespace

bool winExec(const std::string& commandLine, int showCmd) {
  Machine& machine = Machine::ready();
  std::string text = upToZero(commandLine);
  std::optional<Program> program = programOf(machine, text);
  std::string outcome = "not-found";
  bool started = false;
  if (program && hostExecutable(program->host)) {
    started = launchDetached(program->host, splitArguments(program->arguments),
                             machine.hostPath(machine.currentDirectory()));
    outcome = started ? "started" : "failed";
  } else if (program) {
    outcome = "recorded";
    started = true;
  }
  posix::appendProcessLog(
      {"WinExec", text, std::to_string(showCmd), machine.currentDirectory(), outcome});
  return started;
}

bool shellExecute(const std::string& verb, const std::string& file, const std::string& parameters,
                  const std::string& directory, int showCmd, void* /*ownerWindow*/) {
  Machine& machine = Machine::ready();
  std::string fileText = upToZero(file);
  std::string folderText = upToZero(directory);
  std::string outcome = "not-found";
  bool started = false;
  fs::path folder = machine.hostPath(folderText.empty() ? machine.currentDirectory() : folderText);
  if (isAddress(fileText)) {
    outcome = "recorded";
    started = true;
  } else if (auto program = findProgram(machine, fileText, searchFolders(machine, folderText))) {
    if (!isFolder(folder)) {
      outcome = "failed";
    } else if (hostExecutable(*program)) {
      started = launchDetached(*program, splitArguments(upToZero(parameters)), folder);
      outcome = started ? "started" : "failed";
    } else {
      outcome = "recorded";
      started = true;
    }
  }
  posix::appendProcessLog({"ShellExecute", upToZero(verb), fileText, upToZero(parameters),
                           folderText, std::to_string(showCmd), outcome});
  return started;
}

std::optional<std::string> shortPathName(const std::string& path) {
  std::string text = upToZero(path);
  if (text.empty()) return std::nullopt;
  // The machine's volumes keep no 8.3 names, like a Windows volume with their creation turned
  // off: the long path is the answer.
  struct stat info {};
  fs::path host = Machine::ready().hostPath(text);
  if (host.empty() || ::stat(host.c_str(), &info) != 0) return std::nullopt;
  return text;
}

namespace posix {

void appendProcessLog(const std::vector<std::string>& fields) {
  std::string line = joinFields(fields) + "\n";
  fs::path log = Machine::instance().root() / "processes.log";
  int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return;
  // One write: lines of two processes never interleave.
  [[maybe_unused]] ssize_t written = ::write(fd, line.data(), line.size());
  ::close(fd);
}

std::vector<std::vector<std::string>> readProcessLog() {
  std::vector<std::vector<std::string>> records;
  std::ifstream in(Machine::ready().root() / "processes.log", std::ios::binary);
  std::string line;
  while (std::getline(in, line))
    if (!line.empty()) records.push_back(splitFields(line));
  return records;
}

} // namespace posix

} // namespace platform
