#include <gtest/gtest.h>

#include <memory>

#include "dialogs/container_dialogs.h"
#include "project/project_file.h"
#include "res/dialog_ids.h"
#include "tests/test_dialog_helpers.h"
#include "tests/test_project_helpers.h"

namespace {

using testing_dialogs::FakeControls;
using testing_project::RecordingNotifier;

std::unique_ptr<VehicleProject> ProjectWithSlots() {
  auto p = std::make_unique<VehicleProject>();
  ResetProject(*p);
  p->container[0] = ContainerSlot{9, 10, 1, -2};
  p->container[2] = ContainerSlot{1, -3.5f, 0, 0};
  p->container[3] = ContainerSlot{6, 0, 0, 0};  // a type the table lacks
  return p;
}

TEST(ContainerDialogs, ListIsSortedWithRowsMappedToSlots) {
  auto p = ProjectWithSlots();
  RecordingNotifier n;
  ContainerListSession list(*p, n);
  // Sorted by type in the working copy: thirteen empty slots, then 1, 6, 9.
  const std::vector<ContainerRow> rows = ContainerRows(list.Working());
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].slot, 13);
  EXPECT_EQ(rows[0].cells[0], u"荷物、その他");
  EXPECT_EQ(rows[0].cells[1], u"-3.50");
  EXPECT_EQ(rows[0].cells[2], u" 0.00");
  EXPECT_EQ(rows[1].slot, 14);
  EXPECT_EQ(rows[1].cells[0], u"6");
  EXPECT_EQ(rows[2].slot, 15);
  EXPECT_EQ(rows[2].cells[0], u"国鉄10t、JR20フィート");
  EXPECT_EQ(rows[2].cells[1], u"10.00");
  EXPECT_EQ(rows[2].cells[3], u"-2.00");
  // The project itself keeps its order until OK.
  EXPECT_EQ(p->container[0].type, 9);
  list.Commit();
  EXPECT_EQ(p->container[15].type, 9);
  EXPECT_EQ(p->container[0].type, 0);
}

TEST(ContainerDialogs, AddingUpToSixteenThenTheMessage) {
  auto p = std::make_unique<VehicleProject>();
  ResetProject(*p);
  RecordingNotifier n;
  ContainerListSession list(*p, n);
  for (int i = 0; i < kContainerCount; ++i) EXPECT_EQ(list.Add(), i);
  EXPECT_TRUE(n.calls.empty());
  EXPECT_EQ(list.Add(), -1);
  EXPECT_EQ(n.Only(), u"コンテナ位置は16箇所まで設定できます。");
  EXPECT_EQ(n.calls[0].first, u"検証");
  // A new slot whose dialog was cancelled is empty again.
  list.DropNew(5);
  EXPECT_EQ(list.Working().container[5].type, 0);
  EXPECT_EQ(ContainerRows(list.Working()).size(), 15u);
  // Nothing reached the project before OK.
  EXPECT_EQ(p->container[0].type, 0);
}

TEST(ContainerDialogs, SlotDialogClampsDeletesAndKeepsUnlistedTypes) {
  auto p = ProjectWithSlots();
  RecordingNotifier n;
  {
    FakeControls c;
    ContainerSlotSession slot(*p, 0, c, n);
    slot.Show();
    EXPECT_EQ(c.selections[IDC_CONTAINER_TYPE], 5);  // id 9 is the sixth entry
    EXPECT_EQ(c.items[IDC_CONTAINER_TYPE].back(), u"[削除]");
    EXPECT_EQ(c.texts[IDC_CONTAINER_X], u"10.00");
    EXPECT_EQ(c.texts[IDC_CONTAINER_Y], u" 1.00");
    c.selections[IDC_CONTAINER_TYPE] = 4;  // id 5
    c.texts[IDC_CONTAINER_X] = u"250";
    c.texts[IDC_CONTAINER_Y] = u"-10";
    c.texts[IDC_CONTAINER_Z] = u"60";
    ASSERT_TRUE(slot.Ok());
  }
  EXPECT_EQ(p->container[0].type, 5);
  EXPECT_EQ(p->container[0].posx, 200.0f);
  EXPECT_EQ(p->container[0].posy, 0.0f);
  EXPECT_EQ(p->container[0].posz, 50.0f);
  {
    FakeControls c;
    ContainerSlotSession slot(*p, 3, c, n);
    slot.Show();
    EXPECT_EQ(c.selections[IDC_CONTAINER_TYPE], -1);
    c.texts[IDC_CONTAINER_Z] = u"1";
    ASSERT_TRUE(slot.Ok());
    EXPECT_EQ(p->container[3].type, 6);  // nothing selected: kept
    EXPECT_EQ(p->container[3].posz, 1.0f);
  }
  {
    FakeControls c;
    ContainerSlotSession slot(*p, 2, c, n);
    slot.Show();
    c.texts[IDC_CONTAINER_X] = u"7";
    c.texts[IDC_CONTAINER_Y] = u"oops";
    EXPECT_FALSE(slot.Ok());
    EXPECT_EQ(n.Only(), u"コンテナ位置 y：数値を正しく入力してください。");
    EXPECT_EQ(c.focused, IDC_CONTAINER_Y);
    EXPECT_EQ(p->container[2].posx, -3.5f);  // the group is stored whole or not at all
    c.texts[IDC_CONTAINER_Y] = u"2";
    c.selections[IDC_CONTAINER_TYPE] = 9;  // [削除]
    ASSERT_TRUE(slot.Ok());
    EXPECT_EQ(p->container[2].type, 0);
  }
}

}  // namespace
