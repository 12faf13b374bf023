// Writes the seed archives of the fuzz targets: well-formed, damaged and hostile ones.
#include "support/ZipWriter.h"

#include <filesystem>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_fuzz_corpus <folder>\n";
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);
  using testzip::ZipWriter;
  auto save = [&](const char* name, const ZipWriter& writer) {
    writer.write((folder / name).string());
  };

  ZipWriter plain;
  plain.file("readme.txt", "read me\n").file("docs/manual.txt", std::string(3000, 'm'), true);
  plain.folder("empty/");
  plain.comment = "archive comment\r\nsecond line";
  save("plain.zip", plain);

  ZipWriter noDirectory;
  testzip::Entry described;
  described.name = "described.bin";
  described.data = std::string(700, 'd');
  described.deflate = true;
  described.dataDescriptor = true;
  noDirectory.add(described).file("after.txt", "after");
  noDirectory.centralDirectory = false;
  noDirectory.endRecord = false;
  save("nodirectory.zip", noDirectory);

  ZipWriter hostile;
  hostile.file("../evil.txt", "x").file("C:\\evil.txt", "x").file("a/con.txt", "x");
  hostile.symlink("link", "/etc/passwd");
  testzip::Entry wrong;
  wrong.name = "wrong.txt";
  wrong.data = "some data";
  wrong.crc = 1;
  hostile.add(wrong);
  save("hostile.zip", hostile);

  ZipWriter lying;
  lying.file("a", "a").file("b", "b", true);
  lying.entryCount = 9;
  lying.commentLength = 500;
  save("lying.zip", lying);

  save("empty.zip", ZipWriter{});
  return 0;
}
