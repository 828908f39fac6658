// The project record's own rules: reset, texts cut to their field, container
// places and workshop names. (Values no vehicle can have: the read cases.)
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "project/project_file.h"
#include "project/workshop_name.h"
#include "project/workshop_name_script.h"
#include "tests/test_project_full.h"
#include "tests/test_project_helpers.h"
#include "tests/test_util.h"

namespace {

TEST(ProjectRecord, ResetGivesTheHandWrittenFileAndKeepsWorkshop) {
  auto p = testing_project::FullProject();
  p->truck[2].tirein[3].tireID = 2;
  p->container[15] = ContainerSlot{9, 1, 2, 3};
  ResetProject(*p);
  EXPECT_EQ(p->maker.str(), u"レールウィック工房");
  EXPECT_EQ(FormatProjectFile(*p), ReadTestFile(SourcePath("tests/data/project/reset_project.xml")));
  EXPECT_EQ(p->truck[2].tirein[3].tireID, 0);
  EXPECT_EQ(p->container[15].posz, 0.0f);
}

TEST(ProjectRecord, TextsAreCutToCapacity) {
  VehicleProject p;
  p.name.Set(std::u16string(70, u'a'));
  EXPECT_EQ(p.name.size(), 63u);
  p.sname.Set(std::u16string(40, u'b'));
  EXPECT_EQ(p.sname.size(), 31u);
  p.modelA1.Set(std::u16string(300, u'c'));
  EXPECT_EQ(p.modelA1.size(), 259u);
  p.name.Set(u"ab");  // a shorter text clears what a longer one left behind
  EXPECT_EQ(p.name.str(), u"ab");
  p.name.Set(std::u16string(62, u'x') + u"\U0001F683");  // a cut pair drops its lone half
  EXPECT_EQ(p.name.str(), std::u16string(62, u'x'));
  // The output folder loses one trailing separator, looked for after the cut.
  const std::u16string long_path(258, u'a');
  const std::pair<std::u16string, std::u16string> outpaths[] = {
      {u"C:\\out\\", u"C:\\out"}, {u"C:\\out/\\", u"C:\\out"}, {u"C:\\out\\\\", u"C:\\out\\"}, {u"out/", u"out"},
      {u"out\\/", u"out\\"},       {u"\\", u""},                {long_path + u"\\b", long_path}};
  for (const auto& [given, kept] : outpaths) {
    SetOutPath(p, given);
    EXPECT_EQ(p.outpath.str(), kept) << U8(given);
  }
}

// Clamping and free places show through the container dialogs' cases; here
// what no dialog reaches.
TEST(ProjectRecord, ContainerSlots) {
  VehicleProject p;
  SetContainer(p, 3, 5, 250, -10, 60);
  ContainerSlot slot;
  ASSERT_TRUE(GetContainer(p, 3, slot));
  EXPECT_EQ(slot.type, 5);
  EXPECT_EQ(std::vector<float>({slot.posx, slot.posy, slot.posz}), std::vector<float>({200, 0, 50}));
  // Bad indexes change nothing and read nothing.
  const VehicleProject before = p;
  SetContainer(p, 16, 9, 1, 1, 1);
  SetContainer(p, -1, 9, 1, 1, 1);
  EXPECT_EQ(std::memcmp(&before.container, &p.container, sizeof p.container), 0);
  slot = ContainerSlot{7, 7, 7, 7};
  EXPECT_FALSE(GetContainer(p, 16, slot));
  EXPECT_FALSE(GetContainer(p, -1, slot));
  EXPECT_EQ(slot.type, 7);
  // Sorting is stable by type, the empty places first.
  p = VehicleProject();
  p.container[0] = ContainerSlot{9, 1, 0, 0};
  p.container[2] = ContainerSlot{1, 2, 0, 0};
  p.container[5] = ContainerSlot{9, 3, 0, 0};
  p.container[7] = ContainerSlot{1, 4, 0, 0};
  SortContainers(p);
  const float sorted_posx[] = {0, 2, 4, 1, 3};
  for (int i = 11; i < 16; ++i) EXPECT_EQ(p.container[i].posx, sorted_posx[i - 11]) << i;
  EXPECT_EQ(p.container[11].type, 0);
}

TEST(WorkshopName, BlankReservedLongAndUnscriptableNames) {
  for (const auto& row : CaseRows("project/workshop_names.txt")) {
    EXPECT_EQ(static_cast<int>(CheckWorkshopName(U16(row[0]))), std::stoi(row[1])) << row[0];
    const size_t at = FindUnscriptableCharacter(U16(row[0]));
    EXPECT_EQ(at == std::u16string_view::npos ? "-" : std::to_string(at), row[2]) << row[0];
  }
  EXPECT_EQ(UnscriptableCharacterMessage(u"caf\u00E9", 3),
            u"工房名に使用できない文字が含まれています。(U+00E9)\n別の文字を使用してください。");
  // A character outside the BMP is named whole, not by its first half.
  EXPECT_EQ(UnscriptableCharacterMessage(u"工房\U0001F600", 2),
            u"工房名に使用できない文字が含まれています。(U+1F600)\n別の文字を使用してください。");
}

}  // namespace
