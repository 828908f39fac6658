// The preview's keys, mouse drags and pantograph choice, worked out by hand
// from the rules: 0.1 degree or unit per pixel, quarter turns, toggles.
#include <gtest/gtest.h>

#include "compiler/preview_state.h"
#include "preview/preview_view.h"

namespace {

TEST(PreviewView, StartsWithPantographSwitchOnAndTheScriptsOptions) {
  PreviewState state;
  state.option_shown[0] = true;  // option number 0 has no switch
  state.option_shown[3] = true;
  PreviewView view = InitialPreviewView(state);
  EXPECT_TRUE(view.pantograph_up);
  EXPECT_TRUE(view.pantograph_initial);
  EXPECT_FALSE(view.head_lights || view.tail_lights || view.shunting_light);
  EXPECT_EQ(view.head_mark, 0u);
  EXPECT_FALSE(view.options[0]);
  EXPECT_FALSE(view.options[1]);
  EXPECT_TRUE(view.options[2]);
  EXPECT_FALSE(view.options[3]);
}

TEST(PreviewView, ALiveBuildKeepsPlaceAndSwitchesButNoMissingHeadMark) {
  PreviewState state;
  state.head_mark_count = 2;
  PreviewView view;
  view.rotation[1] = 90.0f;
  view.translation[2] = -5.0f;
  view.head_lights = true;
  view.options[0] = true;
  view.pantograph_initial = false;
  view.head_mark = 2;
  PreviewView carried = CarryPreviewView(view, state);
  EXPECT_FLOAT_EQ(carried.rotation[1], 90.0f);
  EXPECT_FLOAT_EQ(carried.translation[2], -5.0f);
  EXPECT_TRUE(carried.head_lights && carried.options[0] && !carried.pantograph_initial);
  EXPECT_EQ(carried.head_mark, 2u);
  state.head_mark_count = 1;
  EXPECT_EQ(CarryPreviewView(view, state).head_mark, 0u);
}

TEST(PreviewView, ControlDragTurnsAndZeroKeyReturns) {
  PreviewView view;
  DragState drag;
  BeginDrag(drag, 100, 200);
  // Ctrl-drag 50 pixels right and 20 down: -5 degrees about y, -2 about x.
  ApplyDrag(view, drag, 150, 220, kDragControl, false);
  EXPECT_FLOAT_EQ(view.drag_rotation[1], -5.0f);
  EXPECT_FLOAT_EQ(view.drag_rotation[0], -2.0f);
  EXPECT_FLOAT_EQ(view.rotation[1], 0.0f);
  ApplyDrag(view, drag, 160, 200, kDragControl, true);
  EXPECT_FLOAT_EQ(view.rotation[1], -6.0f);
  EXPECT_FLOAT_EQ(view.rotation[0], 0.0f);
  EXPECT_FLOAT_EQ(view.drag_rotation[1], 0.0f);
  EXPECT_FALSE(drag.dragging);

  // A second drag adds to what the first kept.
  BeginDrag(drag, 0, 0);
  ApplyDrag(view, drag, 10, 0, kDragControl, true);
  EXPECT_FLOAT_EQ(view.rotation[1], -7.0f);

  EXPECT_TRUE(ApplyPreviewKey(view, '0', 0));
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(view.rotation[i], 0.0f);
    EXPECT_EQ(view.translation[i], 0.0f);
  }
}

TEST(PreviewView, PlainAndShiftDragsMove) {
  PreviewView view;
  DragState drag;
  BeginDrag(drag, 10, 10);
  ApplyDrag(view, drag, 30, 0, 0, false);  // 20 right, 10 up
  EXPECT_FLOAT_EQ(view.drag_translation[0], 2.0f);
  EXPECT_FLOAT_EQ(view.drag_translation[1], 1.0f);
  EXPECT_FLOAT_EQ(view.drag_translation[2], 0.0f);
  // Shift moves along the track at 0.5 per pixel; the height kept from
  // earlier in the same drag stays.
  ApplyDrag(view, drag, 30, 30, kDragShift, true);
  EXPECT_FLOAT_EQ(view.translation[0], 2.0f);
  EXPECT_FLOAT_EQ(view.translation[1], 1.0f);
  EXPECT_FLOAT_EQ(view.translation[2], -10.0f);
  EXPECT_EQ(view.drag_translation[2], 0.0f);

  // Moves without a drag running change nothing.
  ApplyDrag(view, drag, 500, 500, 0, false);
  ApplyDrag(view, drag, 500, 500, 0, true);
  EXPECT_FLOAT_EQ(view.translation[0], 2.0f);
  EXPECT_EQ(view.drag_translation[0], 0.0f);
}

TEST(PreviewView, DragThatChangesModifierKeepsBothParts) {
  PreviewView view;
  DragState drag;
  BeginDrag(drag, 0, 0);
  ApplyDrag(view, drag, 30, 0, 0, false);            // moves 3 sideways
  ApplyDrag(view, drag, 40, 0, kDragControl, true);  // then turns, released with Ctrl
  EXPECT_FLOAT_EQ(view.rotation[1], -4.0f);
  EXPECT_FLOAT_EQ(view.translation[0], 3.0f);
  EXPECT_EQ(view.drag_translation[0], 0.0f);
}

TEST(PreviewView, QuarterTurns) {
  PreviewView view;
  view.rotation[1] = 45.0f;
  ApplyPreviewKey(view, 'Y', 0);
  EXPECT_EQ(view.rotation[1], 90.0f);
  ApplyPreviewKey(view, 'Y', 0);
  EXPECT_EQ(view.rotation[1], 180.0f);
  view.rotation[1] = 300.0f;
  ApplyPreviewKey(view, 'Y', 0);
  EXPECT_EQ(view.rotation[1], 0.0f);
  view.rotation[1] = -6.0f;  // after a small turn to the right
  ApplyPreviewKey(view, 'Y', 0);
  EXPECT_EQ(view.rotation[1], 90.0f);
}

TEST(PreviewView, SwitchKeysAndHeadMarkCycle) {
  PreviewView view;
  for (uint32_t key : {'1', '3', 'H', 'T', 'I'}) EXPECT_TRUE(ApplyPreviewKey(view, key, 2));
  EXPECT_TRUE(view.options[0]);
  EXPECT_FALSE(view.options[1]);
  EXPECT_TRUE(view.options[2]);
  EXPECT_TRUE(view.head_lights && view.tail_lights && view.shunting_light);
  ApplyPreviewKey(view, '1', 2);
  EXPECT_FALSE(view.options[0]);

  // Two head marks: 1, 2, then back to none.
  const uint32_t expected[] = {1, 2, 0, 1};
  for (uint32_t e : expected) {
    ApplyPreviewKey(view, 'M', 2);
    EXPECT_EQ(view.head_mark, e);
  }
  // Without head marks the key keeps returning to none.
  PreviewView none;
  ApplyPreviewKey(none, 'M', 0);
  EXPECT_EQ(none.head_mark, 0u);

  EXPECT_FALSE(ApplyPreviewKey(view, 'Q', 2));
  EXPECT_FALSE(ApplyPreviewKey(view, '5', 2));
}

TEST(PreviewView, PantographsFollowTheScriptUntilTheFirstP) {
  PreviewState state;
  state.pantograph_states[1] = 1;  // PANTAINIT raised the second one
  PreviewView view = InitialPreviewView(state);
  EXPECT_FALSE(PantographShowsFirst(view, state, 0));
  EXPECT_TRUE(PantographShowsFirst(view, state, 1));
  // First P: switch P goes off and now rules every pantograph.
  ApplyPreviewKey(view, 'P', 0);
  EXPECT_FALSE(PantographShowsFirst(view, state, 0));
  EXPECT_FALSE(PantographShowsFirst(view, state, 1));
  ApplyPreviewKey(view, 'P', 0);
  EXPECT_TRUE(PantographShowsFirst(view, state, 0));
  EXPECT_TRUE(PantographShowsFirst(view, state, 1));
}

}  // namespace
