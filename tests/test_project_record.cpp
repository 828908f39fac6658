#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "project/value_tables.h"
#include "project/vehicle_project.h"

namespace {

TEST(ProjectRecord, ResetGivesDefaultsAndKeepsWorkshop) {
  auto p = std::make_unique<VehicleProject>();
  p->maker.Set(u"工房");
  p->name.Set(u"EF65");
  p->speed = 7;
  p->zoom = 3;
  p->downv = 0;
  p->category = 1;
  p->truck[2].tirein[3].tireID = 2;
  p->container[15] = ContainerSlot{9, 1, 2, 3};
  p->optionset[3].modelIRE.Set(u"x.obj");
  p->untendai[1].posz = 4;
  ResetProject(*p);
  EXPECT_EQ(p->maker.str(), u"工房");
  EXPECT_TRUE(p->name.empty());
  EXPECT_EQ(p->category, 32);
  EXPECT_EQ(p->speed, 120);
  EXPECT_EQ(p->zoom, 1.0f);
  EXPECT_EQ(p->downv, 1);
  EXPECT_EQ(p->huriko, 0);
  EXPECT_EQ(p->truck[2].tirein[3].tireID, 0);
  EXPECT_EQ(p->container[15].type, 0);
  EXPECT_EQ(p->container[15].posz, 0.0f);
  EXPECT_TRUE(p->optionset[3].modelIRE.empty());
  EXPECT_EQ(p->untendai[1].posz, 0.0f);
}

TEST(ProjectRecord, TextsAreCutToCapacity) {
  VehicleProject p;
  p.name.Set(std::u16string(70, u'a'));
  EXPECT_EQ(p.name.size(), 63u);
  p.sname.Set(std::u16string(40, u'b'));
  EXPECT_EQ(p.sname.size(), 31u);
  p.modelA1.Set(std::u16string(300, u'c'));
  EXPECT_EQ(p.modelA1.size(), 259u);
  // A shorter text clears what a longer one left behind.
  p.name.Set(u"ab");
  EXPECT_EQ(p.name.str(), u"ab");
  // A cut that would split a surrogate pair drops the lone half.
  std::u16string text(62, u'x');
  text += u"\U0001F683";
  p.name.Set(text);
  EXPECT_EQ(p.name.str(), std::u16string(62, u'x'));
}

TEST(ProjectRecord, OutPathLosesOneTrailingSeparator) {
  VehicleProject p;
  SetOutPath(p, u"C:\\out\\");
  EXPECT_EQ(p.outpath.str(), u"C:\\out");
  SetOutPath(p, u"C:\\out/\\");
  EXPECT_EQ(p.outpath.str(), u"C:\\out");
  SetOutPath(p, u"C:\\out\\\\");
  EXPECT_EQ(p.outpath.str(), u"C:\\out\\");
  SetOutPath(p, u"out/");
  EXPECT_EQ(p.outpath.str(), u"out");
  SetOutPath(p, u"out\\/");
  EXPECT_EQ(p.outpath.str(), u"out\\");
  SetOutPath(p, u"\\");
  EXPECT_EQ(p.outpath.str(), u"");
  // The separator is looked for after the cut to the field.
  std::u16string long_path(258, u'a');
  SetOutPath(p, long_path + u"\\b");
  EXPECT_EQ(p.outpath.str(), long_path);
}

TEST(ProjectRecord, ContainerSlots) {
  VehicleProject p;
  EXPECT_EQ(AddContainer(p), 0);
  EXPECT_EQ(AddContainer(p), 1);
  EXPECT_EQ(p.container[1].type, 1);

  SetContainer(p, 3, 5, 250, -10, 60);
  ContainerSlot slot;
  ASSERT_TRUE(GetContainer(p, 3, slot));
  EXPECT_EQ(slot.type, 5);
  EXPECT_EQ(slot.posx, 200.0f);
  EXPECT_EQ(slot.posy, 0.0f);
  EXPECT_EQ(slot.posz, 50.0f);
  SetContainer(p, 4, 2, -300, 120, -70);
  EXPECT_EQ(p.container[4].posx, -200.0f);
  EXPECT_EQ(p.container[4].posy, 100.0f);
  EXPECT_EQ(p.container[4].posz, -50.0f);

  // Bad indexes change nothing and read nothing.
  VehicleProject before = p;
  SetContainer(p, 16, 9, 1, 1, 1);
  SetContainer(p, -1, 9, 1, 1, 1);
  EXPECT_EQ(std::memcmp(&before.container, &p.container, sizeof p.container), 0);
  slot = ContainerSlot{7, 7, 7, 7};
  EXPECT_FALSE(GetContainer(p, 16, slot));
  EXPECT_FALSE(GetContainer(p, -1, slot));
  EXPECT_EQ(slot.type, 7);

  // Free slots are found in the gaps; a full set refuses.
  p.container[0].type = 0;
  EXPECT_EQ(AddContainer(p), 0);
  for (int i = 0; i < kContainerCount; ++i) p.container[i].type = 1;
  EXPECT_EQ(AddContainer(p), -1);
}

TEST(ProjectRecord, SortContainersIsStableByType) {
  VehicleProject p;
  p.container[0] = ContainerSlot{9, 1, 0, 0};
  p.container[2] = ContainerSlot{1, 2, 0, 0};
  p.container[5] = ContainerSlot{9, 3, 0, 0};
  p.container[7] = ContainerSlot{1, 4, 0, 0};
  SortContainers(p);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(p.container[i].type, 0) << i;
  EXPECT_EQ(p.container[12].posx, 2.0f);
  EXPECT_EQ(p.container[13].posx, 4.0f);
  EXPECT_EQ(p.container[14].posx, 1.0f);
  EXPECT_EQ(p.container[15].posx, 3.0f);
}

TEST(ProjectRecord, ValueTables) {
  EXPECT_EQ(FindCategory(81), 14);
  EXPECT_EQ(FindCategory(32), 4);
  EXPECT_EQ(FindCategory(1), 0);
  EXPECT_EQ(FindCategory(112), 18);
  EXPECT_EQ(FindCategory(3), -1);
  EXPECT_EQ(FindCategory(0), -1);
  EXPECT_EQ(std::u16string(CategoryTable[14].name), u"コンテナ");
  EXPECT_EQ(CategoryTable[19].id, 0);

  EXPECT_EQ(std::u16string(FindValueName(BogieTypeTable, 1)), u"回転");
  EXPECT_EQ(std::u16string(FindValueName(BogieTypeTable, 2)), u"固定");
  EXPECT_EQ(std::u16string(FindValueName(BogieTypeTable, 3)), u"中間");
  EXPECT_EQ(FindValueName(BogieTypeTable, 4), nullptr);
  EXPECT_EQ(FindValueName(BogieTypeTable, 0), nullptr);

  const int32_t container_ids[] = {1, 2, 3, 4, 5, 9, 10, 11, 12, 0};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(ContainerTypeTable[i].id, container_ids[i]);
  EXPECT_EQ(std::u16string(FindValueName(ContainerTypeTable, 5)), u"国鉄5t、JR12フィート");
  EXPECT_EQ(FindValueName(ContainerTypeTable, 6), nullptr);
}

}  // namespace
