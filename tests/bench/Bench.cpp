// The installer's extraction measured against the system's own archive tools on the same
// payloads in the same run: listing and planning, extraction one library call per entry, and the
// memory high-water mark while extracting. Prints each ratio against its target.
#include "Payload.h"

#include "UnzipInterface.h"
#include "engine/InstallationPlan.h"
#include "engine/UnzipProgress.h"
#include "engine/ZipArchive.h"
#include "platform/DynamicLibrary.h"
#include "text/VelTextHandler1.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {
namespace fs = std::filesystem;
using bench::quoted;

struct Options {
  fs::path work;
  fs::path library;
  fs::path setup; // the installer program; empty: beside the library
  int runs{3};
};

// What the library's messages told during a series of calls.
struct Counters {
  std::uint64_t begins{0};
  std::uint64_t progress{0};
  std::uint64_t ends{0};
  std::uint64_t errors{0};
  std::string firstError;
};

std::int32_t QF_UNZIP_CALL countMessage(UnZipCallbackInfo* info) {
  auto& counters = *static_cast<Counters*>(info->Caller);
  switch (info->ActionCode) {
  case unzip::ActionItemBegins:
    ++counters.begins;
    break;
  case unzip::ActionItemProgress:
    ++counters.progress;
    break;
  case unzip::ActionItemEnds:
    ++counters.ends;
    break;
  case unzip::ActionError:
    if (info->ErrorCode != 0 && counters.errors++ == 0)
      counters.firstError = engine::UnzipErrorText(*info);
    break;
  default:
    break;
  }
  return 0;
}

// The plan for "*.*" over an archive: what the installer would extract.
struct Plan {
  std::vector<std::string> names;
};

std::uint32_t directorySize(const fs::path& archive) {
  TZipArchive zip;
  zip.Open(archive.string());
  return zip.DirectorySize();
}

Plan planAll(const fs::path& archive) {
  app::TListBox listBox1, listBox13;
  std::array<app::TListBox, 11> lists;
  std::array<app::TCheckBox, 10> boxes;
  std::array<app::TListBox*, 11> groupLists{};
  std::array<app::TCheckBox*, 10> groupBoxes{};
  for (std::size_t i = 0; i < lists.size(); ++i) groupLists[i] = &lists[i];
  for (std::size_t i = 0; i < boxes.size(); ++i) groupBoxes[i] = &boxes[i];
  lists[0].Items = {"0,*.*"};
  app::TProgressBar bar;
  VelTextHandler text;
  TZipArchive zip;
  // The plan lists "setup.qfs" in the source folder, which is where the payloads lie.
  const std::string folder = archive.parent_path().string() + "/";
  const engine::PlanControls controls{listBox1, groupLists, groupBoxes, listBox13,
                                      bar,      folder,     text};
  engine::BuildInstallationPlan(controls, zip);
  Plan plan;
  plan.names.reserve(listBox13.Items.size());
  for (const std::string& item : listBox13.Items) {
    const std::size_t first = item.find(',');
    const std::size_t second = item.find(',', first + 1);
    plan.names.push_back(item.substr(first + 1, second - first - 1));
  }
  return plan;
}

class Library {
public:
  explicit Library(const fs::path& path) : library_(platform::DynamicLibrary::load(path.string())) {
    if (!library_.isLoaded()) throw std::runtime_error("cannot load " + path.string());
    entry_ =
        reinterpret_cast<UnZipEntryProc>(library_.entry(unzip::EntryOrdinal, unzip::EntryName));
    if (!entry_) throw std::runtime_error("no entry point in " + path.string());
  }

  // Extracts every named entry into the current folder, one call each, as the installation run
  // does: two fresh 256-byte buffers per call.
  Counters extractAll(const fs::path& archive, const std::vector<std::string>& names) const {
    Counters counters;
    auto params = std::make_unique<UnZipParams>();
    engine::SetUnZipSwitches(*params, &counters, &countMessage);
    const std::string path = archive.string();
    for (const std::string& name : names) {
      auto archiveBuffer = std::make_unique<char[]>(256);
      auto nameBuffer = std::make_unique<char[]>(256);
      std::memset(archiveBuffer.get(), 0, 256);
      std::memset(nameBuffer.get(), 0, 256);
      path.copy(archiveBuffer.get(), 255);
      name.copy(nameBuffer.get(), 255);
      params->ArchivePath = archiveBuffer.get();
      params->FileSpecs[0] = nameBuffer.get();
      params->FileSpecCount = 1;
      entry_(params.get());
    }
    return counters;
  }

private:
  platform::DynamicLibrary library_;
  UnZipEntryProc entry_{nullptr};
};

// A source folder as a publisher ships it: the program, the library, a script that installs
// every entry of the payload, and the payload itself (linked, not copied).
fs::path makePackage(const Options& options, const fs::path& payload) {
  const fs::path package = options.work / "package-A";
  fs::remove_all(package);
  fs::create_directories(package);
  fs::copy_file(options.setup, package / "setup.exe");
  fs::copy_file(options.library, package / "unzdll.dll");
  fs::create_hard_link(payload, package / "setup.qfs");
  std::ofstream(package / "setup.ini", std::ios::binary)
      << "[Quillfern Installer v1.10]\nprogname=Bench\ncompany=Quillfern\nversion=1\n"
         "file=*.*\n";
  return package;
}

// Runs `work` with the current folder set to `folder`.
template <class Work> auto inFolder(const fs::path& folder, Work work) {
  const fs::path previous = fs::current_path();
  fs::current_path(folder);
  try {
    auto result = work();
    fs::current_path(previous);
    return result;
  } catch (...) {
    fs::current_path(previous);
    throw;
  }
}

double secondsOf(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Series {
  std::vector<double> times;
  double median() const {
    std::vector<double> sorted = times;
    std::sort(sorted.begin(), sorted.end());
    return sorted.empty() ? 0.0 : sorted[sorted.size() / 2];
  }
  double low() const { return times.empty() ? 0.0 : *std::min_element(times.begin(), times.end()); }
  double high() const {
    return times.empty() ? 0.0 : *std::max_element(times.begin(), times.end());
  }
};

// Each side runs once unmeasured, then `runs` times measured, the two sides taking turns so that
// both see the same state of the machine. `prepare` runs before every run of a side (true: ours),
// outside the clock.
struct Comparison {
  Series ours;
  Series theirs;
};

Comparison compare(int runs, const std::function<void(bool)>& prepare,
                   const std::function<void()>& ours, const std::function<void()>& theirs) {
  Comparison result;
  prepare(true);
  ours();
  prepare(false);
  theirs();
  for (int i = 0; i < runs; ++i) {
    prepare(true);
    result.ours.times.push_back(secondsOf(ours));
    prepare(false);
    result.theirs.times.push_back(secondsOf(theirs));
  }
  return result;
}

void freshFolder(const fs::path& folder) {
  fs::remove_all(folder);
  fs::create_directories(folder);
  // Written data of the run before must not be flushed while this one is measured.
  bench::run("sync");
}

struct TreeSummary {
  std::uint64_t files{0};
  std::uint64_t bytes{0};
  bool operator==(const TreeSummary&) const = default;
};

TreeSummary summarize(const fs::path& root) {
  TreeSummary summary;
  for (const auto& item : fs::recursive_directory_iterator(root))
    if (item.is_regular_file()) {
      ++summary.files;
      summary.bytes += item.file_size();
    }
  return summary;
}

std::uint64_t statusKilobytes(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(field + ":", 0) == 0) return std::stoull(line.substr(field.size() + 1));
  return 0;
}

// The child process of the memory measurement: extracts the payload and reports its high-water
// mark before and after.
int memoryChild(const Options& options, const fs::path& archive, const fs::path& destination) {
  const Library library(options.library);
  const std::uint64_t before = statusKilobytes("VmHWM");
  const Plan plan = planAll(archive);
  const Counters counters =
      inFolder(destination, [&] { return library.extractAll(archive, plan.names); });
  const std::uint64_t after = statusKilobytes("VmHWM");
  std::printf("%llu %llu %u %llu\n", static_cast<unsigned long long>(before),
              static_cast<unsigned long long>(after), directorySize(archive),
              static_cast<unsigned long long>(counters.errors));
  return 0;
}

struct Row {
  std::string what;
  std::string ours;
  std::string reference;
  double ratio{0};
  std::string target;
  bool pass{false};
};

std::string timing(const Series& series) {
  char text[96];
  std::snprintf(text, sizeof text, "%.3f s [%.3f-%.3f]", series.median(), series.low(),
                series.high());
  return text;
}

Row timedRow(const std::string& what, const std::string& tool, const Comparison& c, double target) {
  Row row;
  row.what = what;
  row.ours = timing(c.ours);
  row.reference = tool + " " + timing(c.theirs);
  row.ratio = c.theirs.median() > 0 ? c.ours.median() / c.theirs.median() : 0.0;
  char text[32];
  std::snprintf(text, sizeof text, "<= %.2f", target);
  row.target = text;
  row.pass = row.ratio <= target;
  return row;
}

void check(bool condition, const std::string& what) {
  if (!condition) throw std::runtime_error(what);
}

int benchmark(const Options& options, const fs::path& self) {
  for (const char* tool : {"zip", "unzip", "bsdtar"})
    check(bench::haveTool(tool), std::string(tool) + " is not installed");
  fs::create_directories(options.work);
  const bench::PayloadInfo a = bench::payloadA(options.work);
  const bench::PayloadInfo b = bench::payloadB(options.work);
  const Library library(options.library);
  const fs::path ours = options.work / "out-ours";
  const fs::path theirs = options.work / "out-reference";
  std::vector<Row> rows;

  std::printf("payload A: %llu entries, %llu files, %.1f MB, archive %.1f MB\n",
              static_cast<unsigned long long>(a.entries), static_cast<unsigned long long>(a.files),
              static_cast<double>(a.bytes) / 1e6,
              static_cast<double>(fs::file_size(a.archive)) / 1e6);
  std::printf("payload B: %llu entries, %llu files, archive %.1f MB\n",
              static_cast<unsigned long long>(b.entries), static_cast<unsigned long long>(b.files),
              static_cast<double>(fs::file_size(b.archive)) / 1e6);
  std::fflush(stdout);

  // A: extraction of every entry, one call each, against bsdtar.
  {
    Plan plan;
    Counters counters;
    const Comparison c = compare(
        options.runs, [&](bool oursSide) { freshFolder(oursSide ? ours : theirs); },
        [&] {
          plan = planAll(a.archive);
          counters = inFolder(ours, [&] { return library.extractAll(a.archive, plan.names); });
        },
        [&] {
          check(bench::run("bsdtar -xf " + quoted(a.archive.string()) + " -C " +
                           quoted(theirs.string())),
                "bsdtar failed");
        });
    check(plan.names.size() == a.entries, "payload A: the plan does not list every entry");
    check(counters.errors == 0, "payload A: " + counters.firstError);
    check(counters.begins == a.entries, "payload A: not every entry was begun");
    check(summarize(ours) == summarize(theirs), "payload A: the extracted trees differ");
    rows.push_back(timedRow("A: extract " + std::to_string(a.entries) + " entries, 1 call each",
                            "bsdtar -xf", c, 1.0));
  }

  // B: listing and planning against unzip -l.
  {
    std::size_t planned = 0;
    const Comparison c = compare(
        options.runs, [](bool) {}, [&] { planned = planAll(b.archive).names.size(); },
        [&] {
          check(bench::run("unzip -l " + quoted(b.archive.string()) + " >/dev/null"),
                "unzip -l failed");
        });
    check(planned == b.entries, "payload B: the plan does not list every entry");
    rows.push_back(timedRow("B: open + plan *.* (" + std::to_string(b.entries) + " entries)",
                            "unzip -l", c, 0.25));
  }

  // B: extraction of every entry, one call each, against unzip -q.
  {
    Plan plan;
    Counters counters;
    const Comparison c = compare(
        options.runs, [&](bool oursSide) { freshFolder(oursSide ? ours : theirs); },
        [&] {
          plan = planAll(b.archive);
          counters = inFolder(ours, [&] { return library.extractAll(b.archive, plan.names); });
        },
        [&] {
          check(bench::run("unzip -q -o " + quoted(b.archive.string()) + " -d " +
                           quoted(theirs.string())),
                "unzip failed");
        });
    check(counters.errors == 0, "payload B: " + counters.firstError);
    check(counters.begins == b.entries, "payload B: not every entry was begun");
    check(summarize(ours) == summarize(theirs), "payload B: the extracted trees differ");
    rows.push_back(timedRow("B: extract " + std::to_string(b.entries) + " entries, 1 call each",
                            "unzip -q", c, 1.1));
  }

  // A: a whole silent installation against bsdtar: start-up, plan, one call per entry, the
  // uninstaller's staging, registry values, the entry and the shortcuts, in a fresh machine.
  {
    const fs::path package = makePackage(options, a.archive);
    const fs::path machine = options.work / "machine";
    const Comparison c = compare(
        options.runs, [&](bool oursSide) { freshFolder(oursSide ? machine : theirs); },
        [&] {
          check(bench::run("QUILLFERN_ROOT=" + quoted(machine.string()) + " " +
                           quoted((package / "setup.exe").string()) + " /S " +
                           quoted("/D=C:\\bench")),
                "the silent installation failed");
        },
        [&] {
          check(bench::run("bsdtar -xf " + quoted(a.archive.string()) + " -C " +
                           quoted(theirs.string())),
                "bsdtar failed");
        });
    TreeSummary installed = summarize(machine / "c" / "bench");
    // The installation folder also holds the script's copy.
    installed.files -= 1;
    installed.bytes -= fs::file_size(package / "setup.ini");
    check(installed == summarize(theirs), "payload A: the installed tree differs");
    rows.push_back(timedRow("A: whole silent install (setup.exe /S)", "bsdtar -xf", c, 1.1));
    fs::remove_all(machine);
    fs::remove_all(package);
  }

  // A: memory high-water mark of a process that extracts it.
  {
    freshFolder(ours);
    const fs::path report = options.work / "memory.txt";
    check(bench::run(quoted(self.string()) + " --memory-child --library " +
                     quoted(options.library.string()) + " " + quoted(a.archive.string()) + " " +
                     quoted(ours.string()) + " > " + quoted(report.string())),
          "the memory measurement failed");
    std::ifstream in(report);
    unsigned long long before = 0, after = 0, errors = 0;
    unsigned directory = 0;
    check(static_cast<bool>(in >> before >> after >> directory >> errors), "no memory report");
    check(errors == 0, "payload A: errors in the memory run");
    const double limit = directory / 1048576.0 + 64.0;
    const double peak = static_cast<double>(after) / 1024.0;
    Row row;
    row.what = "A: peak RSS while extracting";
    char text[96];
    std::snprintf(text, sizeof text, "%.1f MiB (%.1f MiB at start)", peak,
                  static_cast<double>(before) / 1024.0);
    row.ours = text;
    std::snprintf(text, sizeof text, "directory %.2f MiB", directory / 1048576.0);
    row.reference = text;
    row.ratio = peak / limit;
    std::snprintf(text, sizeof text, "< %.1f MiB", limit);
    row.target = text;
    row.pass = peak < limit;
    rows.push_back(row);
  }

  fs::remove_all(ours);
  fs::remove_all(theirs);

  std::printf("\n%-44s %-28s %-36s %7s %-14s %s\n", "measure", "ours (median [min-max])",
              "reference", "ratio", "target", "result");
  bool all = true;
  for (const Row& row : rows) {
    std::printf("%-44s %-28s %-36s %7.3f %-14s %s\n", row.what.c_str(), row.ours.c_str(),
                row.reference.c_str(), row.ratio, row.target.c_str(), row.pass ? "PASS" : "FAIL");
    all = all && row.pass;
  }
  std::printf("\n%d measured runs per side after one unmeasured run each.\n", options.runs);
  return all ? 0 : 1;
}

void usage() {
  std::fprintf(stderr, "usage: qf_bench [--work DIR] [--library PATH] [--setup PATH] [--runs N]\n");
}

} // namespace

int main(int argc, char** argv) {
  try {
    const fs::path self = fs::read_symlink("/proc/self/exe");
    Options options;
    options.work = fs::absolute("build/bench-work");
    options.library = self.parent_path() / "unzdll.dll";
    bool memory = false;
    std::vector<std::string> rest;
    for (int i = 1; i < argc; ++i) {
      const std::string arg = argv[i];
      if (arg == "--work" && i + 1 < argc) {
        options.work = fs::absolute(argv[++i]);
      } else if (arg == "--library" && i + 1 < argc) {
        options.library = fs::absolute(argv[++i]);
      } else if (arg == "--setup" && i + 1 < argc) {
        options.setup = fs::absolute(argv[++i]);
      } else if (arg == "--runs" && i + 1 < argc) {
        options.runs = std::max(1, std::atoi(argv[++i]));
      } else if (arg == "--memory-child") {
        memory = true;
      } else if (arg.rfind("--", 0) == 0) {
        usage();
        return 2;
      } else {
        rest.push_back(arg);
      }
    }
    if (options.setup.empty()) options.setup = options.library.parent_path() / "setup.exe";
    if (memory) {
      if (rest.size() != 2) {
        usage();
        return 2;
      }
      return memoryChild(options, rest[0], rest[1]);
    }
    return benchmark(options, self);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "qf_bench: %s\n", error.what());
    return 2;
  }
}
