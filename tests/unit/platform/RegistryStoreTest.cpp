// The emulated registry: keys and values through RegKey and the store, the REGEDIT4 file it
// keeps, and how it shares that file with other writers and survives damaged ones.
#include "unit/platform/PosixMachineTest.h"

#include "platform/Registry.h"
#include "platform/posix/RegistryStore.h"

#include <chrono>
#include <random>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using platform::RegKey;
using platform::RegRoot;
using platform::posix::RegistryStore;

class Registry : public PosixMachineTest {
protected:
  fs::path file() const { return root() / "registry.reg"; }

  std::string fileText() const {
    std::ifstream in(file(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  void writeFile(const std::string& text) const {
    std::ofstream(file(), std::ios::binary | std::ios::trunc) << text;
  }

  RegistryStore& store() { return machine().registry(); }
};

TEST_F(Registry, FreshRootHoldsTheDefaultValuesInItsFile) {
  EXPECT_EQ(fileText().rfind("REGEDIT4\n\n", 0), 0u);
  EXPECT_EQ(platform::readRegistryString(RegRoot::LocalMachine,
                                         "Software\\Microsoft\\Windows\\CurrentVersion",
                                         "ProgramFilesDir"),
            "C:\\Program Files");
  EXPECT_EQ(platform::readRegistryString(
                RegRoot::CurrentUser,
                "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                "Favorites"),
            "C:\\Users\\User\\Favorites");
}

TEST_F(Registry, RegistryFileFollowsTheMachineRoot) {
  RegKey key = RegKey::open(RegRoot::CurrentUser, "Software\\Kept", true);
  ASSERT_TRUE(key.writeString("Name", "value"));

  machine().reset(root()); // same root: what was written is still there
  EXPECT_EQ(RegKey::open(RegRoot::CurrentUser, "Software\\Kept", false).readString("Name"),
            "value");

  TestMachine other; // another root: a registry of its own, with defaults only
  EXPECT_FALSE(RegKey::open(RegRoot::CurrentUser, "Software\\Kept", false).isOpen());
  EXPECT_TRUE(RegKey::open(RegRoot::LocalMachine, "Software\\Microsoft", false).isOpen());
}

TEST_F(Registry, MissingFileIsReplacedByTheDefaults) {
  ASSERT_TRUE(RegKey::open(RegRoot::CurrentUser, "Software\\Gone", true).isOpen());
  fs::remove(file());
  EXPECT_FALSE(RegKey::open(RegRoot::CurrentUser, "Software\\Gone", false).isOpen());
  EXPECT_EQ(platform::readRegistryString(RegRoot::LocalMachine,
                                         "Software\\Microsoft\\Windows\\CurrentVersion",
                                         "ProgramFilesDir"),
            "C:\\Program Files");
  EXPECT_TRUE(fs::is_regular_file(file()));
}

TEST_F(Registry, OpenCreatesKeysWithTheirParents) {
  EXPECT_FALSE(RegKey::open(RegRoot::CurrentUser, "Software\\QfTest\\App", false).isOpen());
  RegKey key = RegKey::open(RegRoot::CurrentUser, "Software\\QfTest\\App", true);
  ASSERT_TRUE(key.isOpen());
  EXPECT_TRUE(store().keyExists(RegRoot::CurrentUser, "Software\\QfTest"));
  EXPECT_EQ(key.readString("Missing"), std::nullopt);

  ASSERT_TRUE(key.writeString("Path", "C:\\Apps"));
  ASSERT_TRUE(key.writeDword("Count", 42));
  ASSERT_TRUE(key.writeString("", "default"));
  EXPECT_EQ(key.readString("Path"), "C:\\Apps");
  EXPECT_EQ(key.readString("Count"), std::nullopt);
  EXPECT_EQ(store().readDword(RegRoot::CurrentUser, "Software\\QfTest\\App", "Count"), 42u);
  EXPECT_EQ(store().readDword(RegRoot::CurrentUser, "Software\\QfTest\\App", "Path"), std::nullopt);
  EXPECT_EQ(key.readString(""), "default");
  // The roots are separate trees.
  EXPECT_FALSE(RegKey::open(RegRoot::LocalMachine, "Software\\QfTest\\App", false).isOpen());
}

TEST_F(Registry, NamesCompareWithoutCaseAndKeepTheCaseTheyWereCreatedWith) {
  ASSERT_TRUE(RegKey::open(RegRoot::CurrentUser, "Software\\QfTest\\MixedCase", true).isOpen());
  RegKey key = RegKey::open(RegRoot::CurrentUser, "SOFTWARE\\qftest\\MIXEDCASE", false);
  ASSERT_TRUE(key.isOpen());
  ASSERT_TRUE(key.writeString("Value", "first"));
  ASSERT_TRUE(key.writeString("VALUE", "second"));
  EXPECT_EQ(key.readString("value"), "second");

  std::string text = fileText();
  EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\QfTest\\MixedCase]\n\"Value\"=\"second\"\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(store().subkeys(RegRoot::CurrentUser, "software\\QFTEST"),
            std::vector<std::string>{"MixedCase"});

  // Only A to Z fold: these two are different keys.
  ASSERT_TRUE(RegKey::open(RegRoot::CurrentUser, "Software\\QfTest\\\xC4", true).isOpen());
  EXPECT_FALSE(RegKey::open(RegRoot::CurrentUser, "Software\\QfTest\\\xE4", false).isOpen());
}

TEST_F(Registry, KeyPathsIgnoreEmptyComponentsAndRejectImpossibleNames) {
  ASSERT_TRUE(RegKey::open(RegRoot::CurrentUser, "Software\\QfTest", true).isOpen());
  EXPECT_TRUE(RegKey::open(RegRoot::CurrentUser, "\\Software\\\\QfTest\\", false).isOpen());

  EXPECT_FALSE(
      RegKey::open(RegRoot::CurrentUser, "Software\\" + std::string(256, 'k'), true).isOpen());
  EXPECT_TRUE(
      RegKey::open(RegRoot::CurrentUser, "Software\\" + std::string(255, 'k'), true).isOpen());
  EXPECT_FALSE(RegKey::open(RegRoot::CurrentUser, "Software\\Line\nBreak", true).isOpen());
  EXPECT_FALSE(RegKey::open(static_cast<RegRoot>(0x80000004u), "Software", true).isOpen());
}

TEST_F(Registry, StoreDeletesValuesAndKeyTrees) {
  const std::string app = "Software\\QfTest\\App";
  ASSERT_TRUE(store().createKey(RegRoot::CurrentUser, app + "\\Deep\\Deeper"));
  ASSERT_TRUE(store().createKey(RegRoot::CurrentUser, "Software\\QfTest\\Sibling"));
  ASSERT_TRUE(store().writeString(RegRoot::CurrentUser, app, "Name", "v"));

  EXPECT_TRUE(store().deleteValue(RegRoot::CurrentUser, app, "NAME"));
  EXPECT_FALSE(store().deleteValue(RegRoot::CurrentUser, app, "Name"));
  EXPECT_EQ(store().readString(RegRoot::CurrentUser, app, "Name"), std::nullopt);

  EXPECT_EQ(store().subkeys(RegRoot::CurrentUser, "Software\\QfTest"),
            (std::vector<std::string>{"App", "Sibling"}));
  RegKey open = RegKey::open(RegRoot::CurrentUser, app + "\\Deep", false);
  ASSERT_TRUE(open.isOpen());
  EXPECT_TRUE(RegKey::deleteKeyTree(RegRoot::CurrentUser, "software\\qftest\\app"));
  EXPECT_FALSE(store().keyExists(RegRoot::CurrentUser, app));
  EXPECT_FALSE(store().keyExists(RegRoot::CurrentUser, app + "\\Deep\\Deeper"));
  EXPECT_TRUE(store().keyExists(RegRoot::CurrentUser, "Software\\QfTest\\Sibling"));
  EXPECT_FALSE(RegKey::deleteKeyTree(RegRoot::CurrentUser, app));
  // A key deleted under an open handle takes no more values.
  EXPECT_FALSE(open.writeString("Late", "x"));

  // A root is never wiped.
  EXPECT_FALSE(store().deleteKeyTree(RegRoot::CurrentUser, ""));
  EXPECT_FALSE(store().deleteKeyTree(RegRoot::CurrentUser, "\\\\"));
  EXPECT_TRUE(store().keyExists(RegRoot::CurrentUser, "Software\\QfTest\\Sibling"));
}

TEST_F(Registry, FileHasTheRegedit4Layout) {
  writeFile("REGEDIT4\n\n");
  ASSERT_TRUE(store().createKey(RegRoot::LocalMachine, "Software\\App"));
  ASSERT_TRUE(
      store().writeString(RegRoot::LocalMachine, "Software\\App", "Path", "C:\\Apps\\\"Q\""));
  ASSERT_TRUE(store().writeDword(RegRoot::LocalMachine, "Software\\App", "Count", 42));
  ASSERT_TRUE(store().writeString(RegRoot::LocalMachine, "Software\\App", "", "default"));
  EXPECT_EQ(fileText(), "REGEDIT4\n"
                        "\n"
                        "[HKEY_LOCAL_MACHINE\\Software]\n"
                        "\n"
                        "[HKEY_LOCAL_MACHINE\\Software\\App]\n"
                        "@=\"default\"\n"
                        "\"Count\"=dword:0000002a\n"
                        "\"Path\"=\"C:\\\\Apps\\\\\\\"Q\\\"\"\n"
                        "\n");
}

struct RoundTripValue {
  std::string name;
  std::string text;
};

TEST_F(Registry, EveryStoredValueSurvivesTheFile) {
  const std::string key = "Software\\Odd]Key \"quoted\"\\[Sub]";
  const RoundTripValue strings[] = {
      {"Path", "C:\\Program Files\\App\\"},
      {"Quote", "say \"hi\""},
      {"Unc", "\\\\server\\share"},
      {"Empty", ""},
      {"", "the default"},
      {"Ansi", "K\xE4se \xFC\xDF"},
      {"Lines", "first\r\nsecond\nthird"},
      {"we\"ird\\name", "ends in backslash\\"},
      {"@", "not the default"},
  };
  const std::pair<std::string, std::uint32_t> numbers[] = {
      {"Zero", 0u}, {"Answer", 42u}, {"Max", 0xFFFFFFFFu}};

  ASSERT_TRUE(store().createKey(RegRoot::Users, key));
  for (const RoundTripValue& v : strings)
    ASSERT_TRUE(store().writeString(RegRoot::Users, key, v.name, v.text)) << v.name;
  for (const auto& [name, number] : numbers)
    ASSERT_TRUE(store().writeDword(RegRoot::Users, key, name, number)) << name;

  RegistryStore reader(file());
  for (const RoundTripValue& v : strings)
    EXPECT_EQ(reader.readString(RegRoot::Users, key, v.name), v.text) << v.name;
  for (const auto& [name, number] : numbers)
    EXPECT_EQ(reader.readDword(RegRoot::Users, key, name), number) << name;
  EXPECT_EQ(reader.text(), store().text());
}

TEST_F(Registry, ValueTextEndsAtItsFirstZero) {
  ASSERT_TRUE(store().createKey(RegRoot::CurrentUser, "Software\\Z"));
  ASSERT_TRUE(store().writeString(RegRoot::CurrentUser, "Software\\Z", "v",
                                  std::string("kept\0dropped", 12)));
  EXPECT_EQ(RegistryStore(file()).readString(RegRoot::CurrentUser, "Software\\Z", "v"), "kept");
}

TEST_F(Registry, EachChangeReplacesTheWholeFile) {
  const fs::path before = root() / "before.reg";
  for (int i = 0; i < 5; ++i) {
    // A second name for the file as it is now: a change written in place would show through it.
    fs::remove(before);
    fs::create_hard_link(file(), before);
    const std::string old = RegistryStore(before.string()).text();
    ASSERT_TRUE(store().createKey(RegRoot::CurrentUser, "Software\\Step" + std::to_string(i)));
    // A new file is renamed over the old one, so a reader never meets a half-written file.
    EXPECT_EQ(RegistryStore(before.string()).text(), old) << i;
    EXPECT_NE(RegistryStore(file()).text(), old) << i;
    EXPECT_EQ(RegistryStore(file()).text(), store().text()) << i;
  }
  fs::remove(before);
  fs::remove(root() / "before.reg.lock");
  for (const fs::directory_entry& entry : fs::directory_iterator(root())) {
    std::string name = entry.path().filename().string();
    EXPECT_TRUE(entry.is_directory() || name == "registry.reg" || name == "registry.reg.lock")
        << "left behind: " << name;
  }
}

TEST_F(Registry, ChangesOfAnotherWriterAreSeenAndKept) {
  RegistryStore other(file());
  ASSERT_TRUE(other.keyExists(RegRoot::LocalMachine, "Software\\Microsoft"));

  ASSERT_TRUE(store().createKey(RegRoot::CurrentUser, "Software\\Shared"));
  ASSERT_TRUE(store().writeString(RegRoot::CurrentUser, "Software\\Shared", "First", "1"));
  EXPECT_EQ(other.readString(RegRoot::CurrentUser, "Software\\Shared", "First"), "1");

  // Each writer starts from the file as it is, so neither loses the other's change.
  ASSERT_TRUE(other.writeString(RegRoot::CurrentUser, "Software\\Shared", "Second", "2"));
  ASSERT_TRUE(store().writeString(RegRoot::CurrentUser, "Software\\Shared", "Third", "3"));
  RegistryStore third(file());
  EXPECT_EQ(third.readString(RegRoot::CurrentUser, "Software\\Shared", "First"), "1");
  EXPECT_EQ(third.readString(RegRoot::CurrentUser, "Software\\Shared", "Second"), "2");
  EXPECT_EQ(third.readString(RegRoot::CurrentUser, "Software\\Shared", "Third"), "3");

  ASSERT_TRUE(other.deleteKeyTree(RegRoot::CurrentUser, "Software\\Shared"));
  EXPECT_FALSE(RegKey::open(RegRoot::CurrentUser, "Software\\Shared", false).isOpen());
}

TEST_F(Registry, EditInPlaceOfTheSameSizeIsSeen) {
  writeFile("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Hand]\n\"v\"=\"one\"\n");
  EXPECT_EQ(store().readString(RegRoot::CurrentUser, "Software\\Hand", "v"), "one");
  auto stamp = fs::last_write_time(file());

  writeFile("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Hand]\n\"v\"=\"two\"\n");
  fs::last_write_time(file(), stamp + std::chrono::seconds(2));
  EXPECT_EQ(store().readString(RegRoot::CurrentUser, "Software\\Hand", "v"), "two");
}

struct BrokenCase {
  const char* what;
  std::string text;
};

// Each damaged text is followed by one good section; reading must not fail and must find it.
TEST_F(Registry, DamagedFilesAreReadAroundTheirDamage) {
  const std::string good = "\n[HKEY_CURRENT_USER\\Software\\Good]\n\"v\"=\"ok\"\n";
  const BrokenCase cases[] = {
      {"empty", ""},
      {"no header", "[HKEY_CURRENT_USER\\Software\\Other]\n"},
      {"binary", std::string("\0\x01\xFF[\x80]\"\"=\0\n\n\x7F", 14)},
      {"values before a section", "REGEDIT4\n\"lost\"=\"x\"\n@=\"y\"\n"},
      {"unknown root", "[HKEY_BOGUS\\Software\\Good]\n\"bogus\"=\"x\"\n"},
      {"open bracket", "[\n[HKEY_CURRENT_USER\\Software\\Good\n\"v\"=\"half\"\n"},
      {"close bracket only", "]\n[]\n[-]\n"},
      {"unterminated name", "[HKEY_CURRENT_USER\\Software\\X]\n\"name=\"x\"\n\"\n"},
      {"unterminated data", "[HKEY_CURRENT_USER\\Software\\X]\n\"name\"=\"x\n"},
      {"no equals", "[HKEY_CURRENT_USER\\Software\\X]\n\"name\" \"x\"\n@\n"},
      {"bad dwords", "[HKEY_CURRENT_USER\\Software\\X]\n\"a\"=dword:zz\n\"b\"=dword:123456789\n"
                     "\"c\"=dword:\n"},
      {"bad hex", "[HKEY_CURRENT_USER\\Software\\X]\n\"a\"=hex(1):zz,00\n\"b\"=hex(7):\\\n"},
      {"unknown type", "[HKEY_CURRENT_USER\\Software\\X]\n\"a\"=qword:1\n\"b\"=42\n"},
      {"long name", "[HKEY_CURRENT_USER\\" + std::string(300, 'n') + "]\n\"a\"=\"x\"\n"},
      {"long line", "[HKEY_CURRENT_USER\\Software\\X]\n\"a\"=\"" + std::string(100000, 'x')},
  };
  for (const BrokenCase& c : cases) {
    writeFile(c.text + good);
    RegistryStore reader(file());
    EXPECT_EQ(reader.readString(RegRoot::CurrentUser, "Software\\Good", "v"), "ok") << c.what;
    EXPECT_EQ(reader.readString(RegRoot::CurrentUser, "Software\\Good", "bogus"), std::nullopt)
        << c.what;
    EXPECT_EQ(reader.readString(RegRoot::CurrentUser, "Software\\Good", "lost"), std::nullopt)
        << c.what;
    // A damaged file is still a registry that takes changes.
    EXPECT_TRUE(reader.writeString(RegRoot::CurrentUser, "Software\\Good", "w", "new")) << c.what;
  }
}

TEST_F(Registry, HandWrittenFormsAreUnderstood) {
  writeFile("REGEDIT4\r\n\r\n"
            "; a comment\r\n"
            "  [HKEY_LOCAL_MACHINE\\Software\\Hand]  \r\n"
            "\"crlf\"=\"value\"\r\n"
            "\"unescaped\"=\"C:\\Apps\\Tool\"\r\n"
            "\"spaced\" = \"x\"\r\n"
            "\"upper\"=DWORD:0000FFFF\r\n"
            "\"short\"=dword:2a\r\n"
            "\"wrapped\"=hex(1):41,42,\\\r\n"
            "  43,00\r\n"
            "\"removed\"=\"x\"\r\n"
            "\"removed\"=-\r\n"
            "[HKLM\\Software\\Short]\r\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Dropped\\Sub]\r\n"
            "[-HKEY_LOCAL_MACHINE\\Software\\Dropped]\r\n");
  const std::string hand = "Software\\Hand";
  EXPECT_EQ(store().readString(RegRoot::LocalMachine, hand, "crlf"), "value");
  EXPECT_EQ(store().readString(RegRoot::LocalMachine, hand, "unescaped"), "C:\\Apps\\Tool");
  EXPECT_EQ(store().readString(RegRoot::LocalMachine, hand, "spaced"), "x");
  EXPECT_EQ(store().readDword(RegRoot::LocalMachine, hand, "upper"), 0xFFFFu);
  EXPECT_EQ(store().readDword(RegRoot::LocalMachine, hand, "short"), 42u);
  EXPECT_EQ(store().readString(RegRoot::LocalMachine, hand, "wrapped"), "ABC");
  EXPECT_EQ(store().readString(RegRoot::LocalMachine, hand, "removed"), std::nullopt);
  EXPECT_TRUE(store().keyExists(RegRoot::LocalMachine, "Software\\Short"));
  EXPECT_FALSE(store().keyExists(RegRoot::LocalMachine, "Software\\Dropped"));
}

TEST_F(Registry, RandomBytesNeverBreakTheReader) {
  std::mt19937 random(7);
  const std::string pieces[] = {"[",
                                "]",
                                "\\",
                                "\"",
                                "=",
                                "@",
                                "\n",
                                "\r",
                                "-",
                                "dword:",
                                "hex(1):",
                                ",",
                                "0",
                                "HKEY_CURRENT_USER",
                                "HKLM",
                                "x",
                                std::string(1, '\0')};
  std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
  for (int i = 0; i < 300; ++i) {
    std::string text;
    for (int n = 0; n < 60; ++n) text += pieces[pick(random)];
    writeFile(text);
    RegistryStore reader(file());
    std::string formatted = reader.text();
    // Whatever was understood is written back in a form that reads the same again.
    writeFile(formatted);
    EXPECT_EQ(RegistryStore(file()).text(), formatted) << i;
  }
}

} // namespace
