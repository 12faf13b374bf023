// The script's registry lines on the emulated machine: what each line writes, the sticky root,
// the error text of failing lines, and the keys the uninstall deletes (and those it never does).
#include "engine/RegistryValues.h"
#include "engine/DecimalInteger.h"
#include "engine/Errors.h"
#include "unit/engine/EngineMachine.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

using platform::RegRoot;
constexpr RegRoot HKCU = RegRoot::CurrentUser;
constexpr RegRoot HKLM = RegRoot::LocalMachine;

struct IntegerCase {
  const char* text;
  std::optional<std::int32_t> number;
};

TEST(DecimalIntegerTest, AcceptsPlainSignedDecimalWithin32Bits) {
  const IntegerCase cases[] = {
      {"12", 12},
      {"0", 0},
      {"007", 7},
      {"-1", -1},
      {"+7", 7},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {"4294967295", std::nullopt},
      {"12a", std::nullopt},
      {"0x10", std::nullopt},
      {"$10", std::nullopt},
      {" 12", std::nullopt},
      {"12 ", std::nullopt},
      {"", std::nullopt},
      {"-", std::nullopt},
      {"+", std::nullopt},
      {"--1", std::nullopt},
      {"1.5", std::nullopt},
  };
  for (const IntegerCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(engine::DecimalInteger(c.text), c.number);
  }
  EXPECT_EQ(engine::ConvertInteger("-3"), -3);
  EXPECT_THROW(engine::ConvertInteger("3x"), engine::EConvertError);
}

using engine_test::registry;
using engine_test::valueLines;
using RegistryValues = EngineMachine;

// What one value should read after the lines are written: a string, a number, or nothing.
struct Expected {
  RegRoot root;
  const char* key;
  const char* name;
  std::optional<std::string> text;
  std::optional<std::uint32_t> number;
};

struct WriteCase {
  const char* title;
  std::vector<std::string> lines;
  std::vector<Expected> values;
  const char* errorText; // after the run, which starts with "earlier"
};

const WriteCase kWriteCases[] = {
    {"a string value",
     {"HKEY_CURRENT_USER\\Software\\Example\\App,string,Path,C:\\Apps\\Example"},
     {{HKCU, "Software\\Example\\App", "Path", "C:\\Apps\\Example", std::nullopt}},
     "earlier"},
    {"bool data in any case",
     {"HKEY_LOCAL_MACHINE\\Software\\Example,bool,Enabled,TRUE",
      "HKEY_LOCAL_MACHINE\\Software\\Example,Bool,Disabled,False"},
     {{HKLM, "Software\\Example", "Enabled", std::nullopt, 1u},
      {HKLM, "Software\\Example", "Disabled", std::nullopt, 0u}},
     "earlier"},
    {"bool data that is neither true nor false writes nothing and is no error",
     {"HKEY_LOCAL_MACHINE\\Software\\Example,bool,Enabled,yes"},
     {{HKLM, "Software\\Example", "Enabled", std::nullopt, std::nullopt}},
     "earlier"},
    {"integers, negative ones as their 32-bit pattern",
     {"HKEY_LOCAL_MACHINE\\Software\\Example,INTEGER,Count,12",
      "HKEY_LOCAL_MACHINE\\Software\\Example,integer,Minus,-1",
      "HKEY_LOCAL_MACHINE\\Software\\Example,integer,Plus,+2147483647"},
     {{HKLM, "Software\\Example", "Count", std::nullopt, 12u},
      {HKLM, "Software\\Example", "Minus", std::nullopt, 0xFFFFFFFFu},
      {HKLM, "Software\\Example", "Plus", std::nullopt, 2147483647u}},
     "earlier"},
    {"an integer that does not convert",
     {"HKEY_LOCAL_MACHINE\\Software\\Example,integer,Count,12a"},
     {{HKLM, "Software\\Example", "Count", std::nullopt, std::nullopt}},
     "HKEY_LOCAL_MACHINE\\Software\\Example\\Count"},
    {"two failing lines leave the later one's text",
     {"HKEY_CURRENT_USER\\Software\\Example,integer,First,0x10",
      "HKEY_CURRENT_USER\\Software\\Example,string,Fine,ok",
      "HKEY_CURRENT_USER\\Software\\Example,integer,Second, 5",
      "HKEY_CURRENT_USER\\Software\\Example,string,AlsoFine,ok"},
     {{HKCU, "Software\\Example", "Fine", "ok", std::nullopt},
      {HKCU, "Software\\Example", "AlsoFine", "ok", std::nullopt},
      {HKCU, "Software\\Example", "Second", std::nullopt, std::nullopt}},
     "HKEY_CURRENT_USER\\Software\\Example\\Second"},
    {"string data ends at its first comma",
     {"HKEY_CURRENT_USER\\Software\\Example,string,Greeting,Hello, world"},
     {{HKCU, "Software\\Example", "Greeting", "Hello", std::nullopt}},
     "earlier"},
    {"three fields: the last field stands for the data",
     {"HKEY_CURRENT_USER\\Software\\Example,string,Name"},
     {{HKCU, "Software\\Example", "Name", "Name", std::nullopt}},
     "earlier"},
    {"nothing is trimmed",
     {"HKEY_CURRENT_USER\\Software\\Example,string, Spaced , two words "},
     {{HKCU, "Software\\Example", " Spaced ", " two words ", std::nullopt}},
     "earlier"},
    {"a lower-case root name selects nothing: the first line stays under the current user",
     {"hkey_local_machine\\Software\\Lower,string,Where,user"},
     {{HKCU, "Software\\Lower", "Where", "user", std::nullopt},
      {HKLM, "Software\\Lower", "Where", std::nullopt, std::nullopt}},
     "earlier"},
    {"the root sticks from line to line",
     {"HKEY_LOCAL_MACHINE\\Software\\First,string,A,1", "HKLM\\Software\\Second,string,B,2",
      "hkey_current_user\\Software\\Third,string,C,3",
      "HKEY_CURRENT_USER\\Software\\Fourth,string,D,4", "HKLM\\Software\\Fifth,string,E,5"},
     {{HKLM, "Software\\First", "A", "1", std::nullopt},
      {HKLM, "Software\\Second", "B", "2", std::nullopt},
      {HKLM, "Software\\Third", "C", "3", std::nullopt},
      {HKCU, "Software\\Fourth", "D", "4", std::nullopt},
      {HKCU, "Software\\Fifth", "E", "5", std::nullopt},
      {HKCU, "Software\\Third", "C", std::nullopt, std::nullopt}},
     "earlier"},
    {"a key without a root name is the whole of field 0",
     {"Example,string,Bare,yes"},
     {{HKCU, "Example", "Bare", "yes", std::nullopt}},
     "earlier"},
    {"an unknown type writes nothing and reports nothing",
     {"HKEY_CURRENT_USER\\Software\\Odd,dword,Number,5"},
     {{HKCU, "Software\\Odd", "Number", std::nullopt, std::nullopt}},
     "earlier"},
};

TEST(RegistryValuesTable, EachLineWritesItsValue) {
  for (const WriteCase& c : kWriteCases) {
    SCOPED_TRACE(c.title);
    testing_ui::Scratch machine; // every case on a fresh machine
    testing_ui::ScriptedUi ui;
    app::TForm1 form;
    form.ListBox14.Items = c.lines;
    form.ErrorText = "earlier";
    engine::WriteRegistryValues(form);
    EXPECT_EQ(form.Label23.Caption, "Creating Registry Keys...");
    EXPECT_EQ(form.ErrorText, c.errorText);
    for (const Expected& e : c.values) {
      SCOPED_TRACE(e.name);
      EXPECT_EQ(registry().readString(e.root, e.key, e.name), e.text);
      EXPECT_EQ(registry().readDword(e.root, e.key, e.name), e.number);
    }
  }
}

TEST_F(RegistryValues, KeysAreCreatedEvenWhenNothingIsWrittenIntoThem) {
  form_.ListBox14.Items = {"HKEY_LOCAL_MACHINE\\Software\\Example\\Deep,bool,Enabled,yes",
                           "HKEY_CURRENT_USER\\Software\\Odd,dword,Number,5"};
  engine::WriteRegistryValues(form_);
  EXPECT_TRUE(registry().keyExists(HKLM, "Software\\Example\\Deep"));
  EXPECT_TRUE(registry().keyExists(HKCU, "Software\\Odd"));
  EXPECT_TRUE(valueLines("HKEY_LOCAL_MACHINE\\Software\\Example\\Deep").empty());
  EXPECT_EQ(form_.ErrorText, "");
}

TEST_F(RegistryValues, AnEmptyListWritesAndDeletesNothing) {
  const std::string before = registry().text();
  engine::WriteRegistryValues(form_);
  engine::RemoveRegistryKeys(form_);
  EXPECT_EQ(registry().text(), before);
  EXPECT_EQ(form_.ErrorText, "");
}

TEST_F(RegistryValues, UninstallDeletesTheWholeKeyOfEachLine) {
  form_.ListBox14.Items = {
      "HKEY_CURRENT_USER\\Software\\Example\\App,string,Path,C:\\Apps\\Example",
      "HKEY_CURRENT_USER\\Software\\Example\\App,integer,Runs,3"};
  engine::WriteRegistryValues(form_);
  // Someone else's value and a subkey in the same key go with it; its parent stays.
  ASSERT_TRUE(registry().createKey(HKCU, "Software\\Example\\App\\Sub"));
  ASSERT_TRUE(registry().writeString(HKCU, "Software\\Example\\App", "Other", "x"));
  ASSERT_TRUE(registry().writeString(HKCU, "Software\\Example", "Keep", "y"));

  engine::RemoveRegistryKeys(form_);
  EXPECT_FALSE(registry().keyExists(HKCU, "Software\\Example\\App"));
  EXPECT_EQ(registry().readString(HKCU, "Software\\Example", "Keep"), "y");
  // The second line found the key gone: nothing to report.
  EXPECT_EQ(form_.ErrorText, "");
}

TEST_F(RegistryValues, UninstallFollowsTheStickyRoot) {
  for (RegRoot root : {HKCU, HKLM})
    for (const char* key : {"Software\\A\\Key", "Software\\B\\Key", "Software\\C\\Key"})
      ASSERT_TRUE(registry().createKey(root, key));
  form_.ListBox14.Items = {"hkey_local_machine\\Software\\A\\Key,string,x,y",
                           "HKEY_LOCAL_MACHINE\\Software\\B\\Key,string,x,y",
                           "HKLM\\Software\\C\\Key,string,x,y"};
  engine::RemoveRegistryKeys(form_);
  EXPECT_FALSE(registry().keyExists(HKCU, "Software\\A\\Key"));
  EXPECT_TRUE(registry().keyExists(HKLM, "Software\\A\\Key"));
  EXPECT_FALSE(registry().keyExists(HKLM, "Software\\B\\Key"));
  EXPECT_TRUE(registry().keyExists(HKCU, "Software\\B\\Key"));
  EXPECT_FALSE(registry().keyExists(HKLM, "Software\\C\\Key"));
  EXPECT_TRUE(registry().keyExists(HKCU, "Software\\C\\Key"));
  EXPECT_EQ(form_.ErrorText, "");
}

TEST_F(RegistryValues, UninstallNeverDeletesARootOrItsFirstLevel) {
  for (const auto& [root, key] :
       {std::pair{HKCU, "Software\\Vendor\\Tool"}, std::pair{HKCU, "Control Panel\\Desktop"},
        std::pair{HKLM, "SOFTWARE\\Vendor"}}) {
    ASSERT_TRUE(registry().createKey(root, key));
    ASSERT_TRUE(registry().writeString(root, key, "Keep", "1"));
  }
  const std::string before = registry().text();
  form_.ListBox14.Items = {
      "HKEY_CURRENT_USER\\Software,string,Setting,1", // a value written straight into Software
      "HKEY_CURRENT_USER\\Control Panel\\,string,x,y",
      "HKEY_LOCAL_MACHINE\\SOFTWARE,string,x,y",
      "HKEY_LOCAL_MACHINE\\\\\\SOFTWARE\\\\,string,x,y",
      "HKEY_CURRENT_USER\\,string,x,y",
      "HKEY_CURRENT_USER\\\\\\\\,string,x,y",
      "Software,string,x,y", // no backslash: the key path is the whole field
  };
  engine::RemoveRegistryKeys(form_);
  EXPECT_EQ(registry().text(), before);
  EXPECT_EQ(form_.ErrorText, "");
}

} // namespace
