#include <gtest/gtest.h>

#include "dialogs/dialog_lists.h"

namespace {

TEST(DialogLists, CategoryListFollowsTheTable) {
  const ChoiceList& l = CategoryChoices();
  ASSERT_EQ(l.items.size(), 19u);
  EXPECT_EQ(l.items[0], u"蒸気機関車");
  EXPECT_EQ(l.values[0], 1);
  EXPECT_EQ(l.items[4], u"普通電車");
  EXPECT_EQ(l.values[4], 32);
  EXPECT_EQ(l.items[14], u"コンテナ");
  EXPECT_EQ(l.values[14], 81);
  EXPECT_EQ(l.items[18], u"都市交通");
  EXPECT_EQ(l.values[18], 112);
  EXPECT_EQ(ChoiceIndex(l, 81), 14);
  EXPECT_EQ(ChoiceIndex(l, 3), -1);
}

TEST(DialogLists, IndexedListsStartWithNone) {
  const ChoiceList& bogie = BogieTypeChoices();
  ASSERT_EQ(bogie.items.size(), 4u);
  EXPECT_EQ(bogie.items[0], u"設定なし");
  EXPECT_EQ(bogie.items[1], u"回転");
  EXPECT_EQ(bogie.items[2], u"固定");
  EXPECT_EQ(bogie.items[3], u"中間");
  for (int i = 0; i < 4; ++i) EXPECT_EQ(bogie.values[i], i);  // index = type

  const ChoiceList& mount = WheelMountChoices();
  ASSERT_EQ(mount.items.size(), 3u);
  EXPECT_EQ(mount.items[1], u"車輪1");
  EXPECT_EQ(mount.items[2], u"車輪2");
  EXPECT_EQ(mount.values[2], 2);

  const ChoiceList& gauge = GaugeCorrectionChoices();
  ASSERT_EQ(gauge.items.size(), 3u);
  EXPECT_EQ(gauge.items[0], u"補正なし");
  EXPECT_EQ(gauge.items[1], u"1/160 -> 1/150");
  EXPECT_EQ(gauge.items[2], u"1/150 -> 1/160");

  const ChoiceList& options = OptionSetChoices();
  ASSERT_EQ(options.items.size(), 4u);
  EXPECT_EQ(options.items[0], u"オプション 1");
  EXPECT_EQ(options.items[3], u"オプション 4");
}

TEST(DialogLists, ContainerTypesEndWithDelete) {
  const ChoiceList& l = ContainerTypeChoices();
  ASSERT_EQ(l.items.size(), 10u);
  EXPECT_EQ(l.items[0], u"荷物、その他");
  EXPECT_EQ(l.items[4], u"国鉄5t、JR12フィート");
  EXPECT_EQ(l.values[4], 5);
  EXPECT_EQ(l.items[5], u"国鉄10t、JR20フィート");
  EXPECT_EQ(l.values[5], 9);
  EXPECT_EQ(l.items[8], u"ISO40フィート");
  EXPECT_EQ(l.values[8], 12);
  EXPECT_EQ(l.items[9], u"[削除]");
  EXPECT_EQ(l.values[9], 0);
}

TEST(DialogLists, NothingSelectedKeepsTheStoredValue) {
  const ChoiceList& l = BogieTypeChoices();
  EXPECT_EQ(ChoiceValue(l, -1, 7), 7);  // a type from an old file survives
  EXPECT_EQ(ChoiceValue(l, 4, 7), 7);   // no such entry
  EXPECT_EQ(ChoiceValue(l, 2, 7), 2);
  EXPECT_EQ(ChoiceIndex(l, 7), -1);
}

}  // namespace
