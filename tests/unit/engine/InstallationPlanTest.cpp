// The installation plan: how a pattern selects archive entries, which typed entries are chosen,
// the plan entries' layout and order, the total size and the overall progress bar's scale.
#include "engine/InstallationPlan.h"

#include "TempFolder.h"
#include "support/ZipWriter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

using engine::BuildInstallationPlan;
using engine::PatternRule;
using Names = std::vector<std::string>;

// Archive names as stored, in central directory order, for the pattern table.
const Names kArchiveNames = {
    "readme.txt",   "readme.txt.bak", "README.md",   "docs/",     "docs/a.txt",
    "docs/b.html",  "docs/c.TXT",     "docs\\d.txt", "docs.old/", "docs.old/e.txt",
    "bin/tool.exe", "page.shtml",     "txt",         "notes",
};

struct PatternCase {
  const char* pattern;
  const char* prefix;
  bool suffixTest;
  const char* suffix; // compared only with suffixTest
  Names selects;
};

const PatternCase kPatternCases[] = {
    {"readme.txt", "readme.txt", false, "", {"readme.txt", "readme.txt.bak"}},
    {"README.TXT", "readme.txt", false, "", {"readme.txt", "readme.txt.bak"}},
    {"*.txt",
     "",
     true,
     ".txt",
     {"readme.txt", "docs/a.txt", "docs/c.TXT", "docs\\d.txt", "docs.old/e.txt"}},
    {"docs/*.txt", "docs/", true, ".txt", {"docs/a.txt", "docs/c.TXT"}},
    {"*.*", "", false, "", kArchiveNames},
    {"readme.*", "readme.", false, "", {"readme.txt", "readme.txt.bak", "README.md"}},
    {"*.html", "", true, "html", {"docs/b.html", "page.shtml"}},
    {"*.HTML", "", true, "html", {"docs/b.html", "page.shtml"}},
    {"*.c", "", true, "*.c", {}},
    {"*.cs", "", true, "*.cs", {}},
    {"*", "", true, "*", {}},
    {"bin/*", "bin/", true, "in/*", {}},
    {"docs.old/*", "docs.old/", false, "", {"docs.old/", "docs.old/e.txt"}},
    {"docs\\*.txt", "docs\\", true, ".txt", {"docs\\d.txt"}},
    {"docs",
     "docs",
     false,
     "",
     {"docs/", "docs/a.txt", "docs/b.html", "docs/c.TXT", "docs\\d.txt", "docs.old/",
      "docs.old/e.txt"}},
    // A name shorter than the prefix never matches; a short name is compared whole.
    {"readme.txt.bak.old", "readme.txt.bak.old", false, "", {}},
    {"t*xt", "t", true, "t*xt", {}},
    {"*txt", "", true, "*txt", {}},
    {"", "", false, "", kArchiveNames},
};

TEST(PatternRuleTest, PrefixSuffixAndSelectionFollowTheTable) {
  for (const PatternCase& c : kPatternCases) {
    SCOPED_TRACE(c.pattern);
    const PatternRule rule(c.pattern);
    EXPECT_EQ(rule.Prefix, c.prefix);
    EXPECT_EQ(rule.SuffixTest, c.suffixTest);
    if (c.suffixTest) {
      EXPECT_EQ(rule.Suffix, c.suffix);
    }
    Names selected;
    for (const std::string& name : kArchiveNames)
      if (rule.Selects(engine::LowerAZ(name))) selected.push_back(name);
    EXPECT_EQ(selected, c.selects);
  }
}

TEST(PatternRuleTest, LowerCasingFoldsOnlyAToZ) {
  EXPECT_EQ(engine::LowerAZ("ABC-xyz_\xC9\xE9[Z]@"), "abc-xyz_\xC9\xE9[z]@");
  const PatternRule accented("\xC9T\xC9.TXT");
  EXPECT_TRUE(accented.Selects(engine::LowerAZ("\xC9t\xC9.txt")));
  EXPECT_FALSE(accented.Selects(engine::LowerAZ("\xE9t\xE9.txt")));
}

TEST(ProgressScaleTest, TotalInUnitsRoundsHalvesToEven) {
  struct Case {
    double total;
    std::int32_t max;
  };
  const Case cases[] = {
      {0, 0},
      {16383, 0},
      {16384, 0},
      {16385, 1},
      {32768, 1},
      {49152, 2},
      {81920, 2},
      {114688, 4},
      {100000, 3},
      {20480, 1},
      {4294967295.0, 131072},
      {1e18, std::numeric_limits<std::int32_t>::max()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.total);
    EXPECT_EQ(engine::ProgressScaleMax(c.total), c.max);
  }
}

// The controls of the plan and an archive in a source folder.
class InstallationPlanTest : public ::testing::Test {
protected:
  InstallationPlanTest() {
    sourceFolder = (temp.path() / "").string();
    for (std::size_t i = 0; i < lists.size(); ++i) GroupLists[i] = &lists[i];
    for (std::size_t i = 0; i < boxes.size(); ++i) GroupCheckBoxes[i] = &boxes[i];
    ProgressBar2.Min = 0;
    ProgressBar2.Max = 77;
    ProgressBar2.Position = 40;
    ProgressBar2.Step = 5;
  }

  void writeArchive(const testzip::ZipWriter& writer) {
    writer.write(temp.text(engine::kPayloadArchive));
  }

  double build() {
    const engine::PlanControls controls{
        ListBox1, GroupLists, GroupCheckBoxes, ListBox13, ProgressBar2, sourceFolder, NTH};
    return BuildInstallationPlan(controls, archive);
  }

  TempFolder temp;
  std::string sourceFolder;
  std::array<app::TListBox, 11> lists; // ListBox2, then ListBox3..12
  std::array<app::TCheckBox, 10> boxes;
  std::array<app::TListBox*, 11> GroupLists{};
  std::array<app::TCheckBox*, 10> GroupCheckBoxes{};
  app::TListBox ListBox1;
  app::TListBox ListBox13;
  app::TProgressBar ProgressBar2;
  VelTextHandler NTH;
  TZipArchive archive;
};

testzip::ZipWriter exampleArchive() {
  testzip::ZipWriter writer;
  writer.file("example.exe", std::string(20480, 'x'), true);
  writer.file("examples.txt", std::string(100, 'e'));
  writer.file("Readme.txt", std::string(1200, 'r'), true);
  writer.folder("docs/");
  writer.file("docs/manual.txt", std::string(300, 'm'));
  writer.file("notes", "notes");
  return writer;
}

TEST_F(InstallationPlanTest, PlanEntriesFollowTypedEntriesThenCentralDirectoryOrder) {
  writeArchive(exampleArchive());
  lists[0].Items = {"3,example.exe", "0,*.txt,Docs"};
  lists[1].Items = {"1,README.TXT,a\\B"}; // group 1, ticked
  lists[2].Items = {"0,*.*"};             // group 2, not ticked
  lists[10].Items = {"2,docs/manual.txt,"};
  boxes[0].Checked = true;
  boxes[9].Checked = true;
  ListBox13.Items = {"left over"};

  const double total = build();

  EXPECT_EQ(ListBox1.Items,
            (Names{"3,example.exe", "0,*.txt,Docs", "1,README.TXT,a\\B", "2,docs/manual.txt,"}));
  EXPECT_EQ(ListBox13.Items, (Names{
                                 "3,example.exe,,20480",
                                 "0,examples.txt,docs,100",
                                 "0,Readme.txt,docs,1200",
                                 "0,docs/manual.txt,docs,300",
                                 "1,Readme.txt,a\\b,1200",
                                 "2,docs/manual.txt,,300",
                             }));
  // Readme.txt and docs/manual.txt are selected twice and count twice.
  EXPECT_EQ(total, 20480.0 + 100 + 1200 + 300 + 1200 + 300);
  EXPECT_EQ(ProgressBar2.Max, 1);
  EXPECT_EQ(ProgressBar2.Step, 1);
  EXPECT_EQ(ProgressBar2.Position, 1);
  EXPECT_EQ(ProgressBar2.Min, 0);
  EXPECT_FALSE(archive.IsZipFile()); // closed again
}

TEST_F(InstallationPlanTest, SubfolderFieldCases) {
  writeArchive(exampleArchive());
  struct Case {
    const char* typed;
    Names plan;
  };
  const Case cases[] = {
      {"3,example.exe", {"3,example.exe,,20480"}}, // no subfolder; examples.txt not selected
      {"0,notes,notes", {"0,notes,,5"}},           // both fields the same: no subfolder
      {"0,notes,Notes", {"0,notes,notes,5"}},      // differs in case only: a subfolder
      {"0,notes,", {"0,notes,,5"}},                // empty subfolder field
      {"0,notes,Docs\\Old,more", {"0,notes,docs\\old,5"}}, // later fields ignored
      {"0,nothing.here,docs", {}},                         // selects nothing, adds nothing
      {"9,NOTES", {"9,notes,,5"}},                         // type carried unchanged
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    lists[0].Items = {c.typed};
    build();
    EXPECT_EQ(ListBox13.Items, c.plan);
  }
}

TEST_F(InstallationPlanTest, SelectionTakesRequiredThenTickedGroupsInGroupOrder) {
  writeArchive(exampleArchive());
  lists[0].Items = {"0,required-a", "0,required-b"};
  for (std::size_t group = 0; group < 10; ++group)
    lists[group + 1].Items = {"0,group" + std::to_string(group + 1)};
  for (std::size_t group : {1u, 4u, 9u}) boxes[group].Checked = true; // groups 2, 5 and 10

  build();

  EXPECT_EQ(ListBox1.Items,
            (Names{"0,required-a", "0,required-b", "0,group2", "0,group5", "0,group10"}));
  EXPECT_TRUE(ListBox13.Items.empty());
}

TEST_F(InstallationPlanTest, EmptySelectionOrEmptyArchiveGivesEmptyPlan) {
  struct Case {
    const char* what;
    bool entries;
    Names required;
  };
  const Case cases[] = {
      {"empty selection", true, {}},
      {"archive without entries", false, {"0,*.*"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    writeArchive(c.entries ? exampleArchive() : testzip::ZipWriter());
    lists[0].Items = c.required;
    ListBox13.Items = {"left over"};
    EXPECT_EQ(build(), 0.0);
    EXPECT_TRUE(ListBox13.Items.empty());
    EXPECT_EQ(ProgressBar2.Max, 0);
    EXPECT_EQ(ProgressBar2.Step, 1);
    EXPECT_EQ(ProgressBar2.Position, 1);
  }
}

TEST_F(InstallationPlanTest, TotalSizeScalesTheOverallBar) {
  struct Case {
    std::uint32_t size;
    std::int32_t max;
  };
  for (const Case& c : {Case{100000, 3}, Case{16384, 0}, Case{49152, 2}, Case{81920, 2}}) {
    SCOPED_TRACE(c.size);
    testzip::ZipWriter writer;
    writer.file("big.bin", std::string(c.size, 'b'), true);
    writeArchive(writer);
    lists[0].Items = {"0,big.bin"};
    EXPECT_EQ(build(), c.size);
    EXPECT_EQ(ListBox13.Items, (Names{"0,big.bin,," + std::to_string(c.size)}));
    EXPECT_EQ(ProgressBar2.Max, c.max);
  }
}

TEST_F(InstallationPlanTest, StoredSizeIsWrittenAsUnsigned32Bits) {
  testzip::Entry huge;
  huge.name = "huge.bin";
  huge.data = "x";
  huge.uncompressedSize = 0xFFFFFFF0u; // as the directory claims
  testzip::ZipWriter writer;
  writer.add(huge);
  writeArchive(writer);
  lists[0].Items = {"0,huge.bin", "0,huge.bin"};
  EXPECT_EQ(build(), 2.0 * 0xFFFFFFF0u);
  EXPECT_EQ(ListBox13.Items, (Names{"0,huge.bin,,4294967280", "0,huge.bin,,4294967280"}));
  EXPECT_EQ(ProgressBar2.Max, 262144); // 2 * (4294967280 / 32768) = 262143.999...
}

TEST_F(InstallationPlanTest, MissingArchiveRaisesNotFoundAndLeavesThePlan) {
  lists[0].Items = {"0,*.*"};
  ListBox13.Items = {"earlier plan"};
  try {
    build();
    FAIL() << "no error raised";
  } catch (const EZipFileNotFound& error) {
    EXPECT_EQ(std::string(error.what()), "File \"" + sourceFolder + "setup.qfs\" not found!");
  }
  EXPECT_EQ(ListBox1.Items, (Names{"0,*.*"}));
  EXPECT_EQ(ListBox13.Items, (Names{"earlier plan"}));
  EXPECT_EQ(ProgressBar2.Max, 77);
  EXPECT_EQ(ProgressBar2.Position, 40);
}

TEST_F(InstallationPlanTest, FileThatIsNoArchiveGivesEmptyPlan) {
  temp.write(engine::kPayloadArchive, "this is not a zip archive at all");
  lists[0].Items = {"0,*.*"};
  build();
  EXPECT_TRUE(ListBox13.Items.empty());
  EXPECT_EQ(ProgressBar2.Max, 0);
}

TEST_F(InstallationPlanTest, ManyTypedEntriesOverManyArchiveEntries) {
  // Every archive entry is picked by exactly one typed entry; the plan keeps typed-entry order.
  testzip::ZipWriter writer;
  for (int folder = 0; folder < 40; ++folder)
    for (int file = 0; file < 50; ++file)
      writer.file("F" + std::to_string(folder) + "/file" + std::to_string(file) + ".TXT", "x");
  writeArchive(writer);
  for (int folder = 39; folder >= 0; --folder)
    lists[0].Items.push_back("0,f" + std::to_string(folder) + "/*.txt,Dir" +
                             std::to_string(folder));
  EXPECT_EQ(build(), 2000.0);
  ASSERT_EQ(ListBox13.Items.size(), 2000u);
  EXPECT_EQ(ListBox13.Items.front(), "0,F39/file0.TXT,dir39,1");
  EXPECT_EQ(ListBox13.Items.back(), "0,F0/file49.TXT,dir0,1");
}

} // namespace
