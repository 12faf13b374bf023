// Making the benchmark payloads: a fixed pseudo-random sequence gives the same files every time.
#include "Payload.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace bench {
namespace fs = std::filesystem;

namespace {

// splitmix64: small, fast and the same everywhere.
class Random {
public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // A number from `low` to `high`, both included.
  std::uint32_t between(std::uint32_t low, std::uint32_t high) {
    return low + static_cast<std::uint32_t>(next() % (std::uint64_t{high} - low + 1));
  }

private:
  std::uint64_t state_;
};

void writeFile(const fs::path& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!file) throw std::runtime_error("cannot write " + path.string());
}

// Lines of lower-case words, as text files are.
std::string text(Random& random, std::size_t size) {
  std::string out;
  out.reserve(size + 16);
  std::size_t line = 0;
  while (out.size() < size) {
    const std::uint32_t length = random.between(2, 10);
    for (std::uint32_t i = 0; i < length; ++i)
      out += static_cast<char>('a' + random.between(0, 25));
    line += length + 1;
    if (line > 70) {
      out += '\n';
      line = 0;
    } else {
      out += ' ';
    }
  }
  out.resize(size);
  return out;
}

// Half random bytes, half runs of one byte between 1 and 64 KiB long.
std::string blob(Random& random, std::size_t size) {
  std::string out;
  out.reserve(size);
  while (out.size() < size / 2) {
    const std::uint64_t value = random.next();
    for (int i = 0; i < 8 && out.size() < size / 2; ++i)
      out += static_cast<char>((value >> (8 * i)) & 0xFF);
  }
  while (out.size() < size) {
    const std::size_t run = std::min<std::size_t>(random.between(1024, 65536), size - out.size());
    out.append(run, static_cast<char>(random.between(0, 255)));
  }
  return out;
}

// Zips the folder `source` (its contents, as relative paths) into `archive`, through a
// temporary name so that an interrupted run never leaves a payload that looks finished.
void zipFolder(const fs::path& source, const std::string& options, const fs::path& archive) {
  const fs::path partial = archive.string() + ".part";
  fs::remove(partial);
  if (!run("cd " + quoted(source.string()) + " && zip -q -r " + options + " " +
           quoted(partial.string()) + " ."))
    throw std::runtime_error("zip failed for " + source.string());
  fs::rename(partial, archive);
}

// Counts what a payload folder holds, before it is zipped and removed.
void countTree(const fs::path& root, PayloadInfo& info, bool folderEntries) {
  for (const auto& item : fs::recursive_directory_iterator(root)) {
    if (item.is_directory()) {
      if (folderEntries) ++info.entries;
    } else {
      ++info.entries;
      ++info.files;
      info.bytes += item.file_size();
    }
  }
}

// The counts are kept beside the archive, since the source files are gone once it is made.
void saveInfo(const fs::path& path, const PayloadInfo& info) {
  std::ofstream(path) << info.entries << ' ' << info.files << ' ' << info.bytes << '\n';
}

bool loadInfo(const fs::path& path, PayloadInfo& info) {
  std::ifstream file(path);
  return static_cast<bool>(file >> info.entries >> info.files >> info.bytes);
}

template <class Make>
PayloadInfo payload(const fs::path& work, const std::string& name, const std::string& options,
                    bool folderEntries, Make make) {
  // The archive carries the payload's name in a source folder, as the installer finds it.
  PayloadInfo info;
  const fs::path folder = work / name;
  info.archive = folder / "setup.qfs";
  const fs::path counts = folder / "counts.txt";
  if (fs::exists(info.archive) && loadInfo(counts, info)) return info;
  fs::create_directories(folder);
  std::printf("making payload %s in %s ...\n", name.c_str(), work.string().c_str());
  std::fflush(stdout);
  const fs::path source = work / (name + "-files");
  fs::remove_all(source);
  fs::create_directories(source);
  make(source);
  countTree(source, info, folderEntries);
  zipFolder(source, options, info.archive);
  saveInfo(counts, info);
  fs::remove_all(source);
  return info;
}

} // namespace

bool run(const std::string& command) { return std::system(command.c_str()) == 0; }

std::string quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) {
    if (c == '\'')
      out += "'\\''";
    else
      out += c;
  }
  return out + "'";
}

bool haveTool(const std::string& name) {
  return run("command -v " + quoted(name) + " >/dev/null 2>&1");
}

PayloadInfo payloadA(const fs::path& work) {
  return payload(work, "payload-a", "", true, [](const fs::path& root) {
    Random random(0xA5A5A5A5ull);
    char name[64];
    for (int folder = 0; folder < 100; ++folder) {
      std::snprintf(name, sizeof name, "text/folder%03d", folder);
      const fs::path dir = root / name;
      fs::create_directories(dir);
      for (int file = 0; file < 100; ++file) {
        std::snprintf(name, sizeof name, "note%04d.txt", folder * 100 + file);
        writeFile(dir / name, text(random, random.between(200, 8192)));
      }
    }
    fs::create_directories(root / "data");
    for (int file = 0; file < 20; ++file) {
      std::snprintf(name, sizeof name, "blob%02d.bin", file);
      writeFile(root / "data" / name, blob(random, 8u << 20));
    }
  });
}

PayloadInfo payloadB(const fs::path& work) {
  return payload(work, "payload-b", "-D", false, [](const fs::path& root) {
    char name[64];
    for (int folder = 0; folder < 100; ++folder) {
      std::snprintf(name, sizeof name, "f%03d", folder);
      const fs::path dir = root / name;
      fs::create_directories(dir);
      for (int file = 0; file < 1000; ++file) {
        const int number = folder * 1000 + file;
        std::snprintf(name, sizeof name, "%06d.dat", number);
        char content[17];
        std::snprintf(content, sizeof content, "entry %09d\n", number);
        writeFile(dir / name, std::string(content, 16));
      }
    }
  });
}

} // namespace bench
