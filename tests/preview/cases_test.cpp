// The preview's arithmetic as the cases in tests/data/preview/cases.txt:
// keys and mouse drags on the view, frame pacing, the animation clock, wheel
// turns, the far plane and the effects' render targets.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <sstream>

#include "compiler/preview_state.h"
#include "preview/effect_table.h"
#include "preview/placement.h"
#include "preview/preview_view.h"
#include "preview/scene_clock.h"
#include "tests/case_text.h"

namespace {

std::string Text(double value) {
  std::ostringstream text;
  text << value + 0.0;  // no "-0"
  return text.str();
}

std::string Floats(const float (&values)[3]) {
  return Text(values[0]) + " " + Text(values[1]) + " " + Text(values[2]);
}

// Runs the view steps of `steps` on a fresh view: "begin X Y", "move X Y M"
// and "release X Y M" (M: -, ctrl or shift), "yaw=DEGREES", "keys=KEYS/N"
// (pressed with N head marks); then names each field of `fields`.
std::string View(const std::string& steps, const std::string& fields) {
  PreviewView view;
  DragState drag;
  std::istringstream words(steps);
  for (std::string w; words >> w;) {
    int x = 0, y = 0;
    std::string keys;
    if (w == "begin" && words >> x >> y) BeginDrag(drag, x, y);
    if ((w == "move" || w == "release") && words >> x >> y >> keys)
      ApplyDrag(view, drag, x, y, keys == "ctrl" ? kDragControl : keys == "shift" ? kDragShift : 0, w == "release");
    if (w.rfind("yaw=", 0) == 0) view.rotation[1] = std::stof(w.substr(4));
    if (w.rfind("keys=", 0) == 0)
      for (size_t i = 5; i < w.find('/'); ++i) ApplyPreviewKey(view, w[i], std::stoi(w.substr(w.find('/') + 1)));
  }
  std::istringstream names(fields);
  std::string out;
  for (std::string name; names >> name;) {
    out += (out.empty() ? "" : "; ") + name + " ";
    if (name == "rotation") out += Floats(view.rotation);
    if (name == "drag_rotation") out += Floats(view.drag_rotation);
    if (name == "translation") out += Floats(view.translation);
    if (name == "drag_translation") out += Floats(view.drag_translation);
    if (name == "head_mark") out += std::to_string(view.head_mark);
    if (name == "switches")
      for (bool on : {view.options[0], view.options[1], view.options[2], view.options[3], view.head_lights,
                      view.tail_lights, view.shunting_light, view.pantograph_up})
        out += on ? "1" : "0";
  }
  return out;
}

TEST(PreviewCases, ViewClockWheelsAndTargets) {
  auto number = [](const std::string& text) { return std::strtod(text.c_str(), nullptr); };
  auto point = [](const std::string& text, float (&xyz)[3]) {
    std::istringstream(text) >> xyz[0] >> xyz[1] >> xyz[2];
    return xyz;
  };
  RunCaseFile(
      "preview/cases.txt",
      {{"view", [](const CaseFields& in) { return View(in[0], in[1]); }},
       {"key_known",
        [](const CaseFields& in) {
          PreviewView view;
          return ApplyPreviewKey(view, in[0][0], 2) ? "yes" : "no";
        }},
       {"pacing",
        [&](const CaseFields& in) {
          return Text(FramePacingWait(uint32_t(number(in[0])), uint32_t(number(in[1])), uint32_t(number(in[2]))));
        }},
       {"animation_clock", [&](const CaseFields& in) { return Text(AnimationClock(uint32_t(number(in[0])))); }},
       {"wheel_spin", [&](const CaseFields& in) { return Text(WheelSpin(number(in[0]), number(in[1]))); }},
       {"far_plane",
        [&](const CaseFields& in) {
          float eye[3], target[3];
          return Text(PreviewFarPlane(point(in[0], eye), point(in[1], target)));
        }},
       {"target_size", [&](const CaseFields& in) {
          return Text(EffectTargetTextureSize(uint32_t(number(in[0])), uint32_t(number(in[1]))));
        }}});
}

// Every effect has a slot of its own, and its numbered parameters fit the
// parameter handles kept per slot.
TEST(PreviewCases, EffectsHaveSlotsOfTheirOwn) {
  std::set<int> slots;
  for (const EffectEntry& e : PreviewEffects()) {
    EXPECT_TRUE(e.slot >= 0 && e.slot < kEffectSlots && slots.insert(e.slot).second) << e.slot;
    for (const NumberedParameter& p : e.parameters) EXPECT_TRUE(p.number >= 0 && p.number < 16) << p.name;
  }
}

TEST(PreviewView, StartAndLiveBuildKeepWhatTheyShould) {
  PreviewState state;
  state.option_shown[0] = true;  // option number 0 has no switch
  state.option_shown[3] = true;
  state.head_mark_count = 2;
  state.pantograph_states[1] = 1;  // PANTAINIT raised the second one
  PreviewView view = InitialPreviewView(state);
  EXPECT_TRUE(view.pantograph_up && view.pantograph_initial);
  EXPECT_FALSE(view.head_lights || view.tail_lights || view.shunting_light || view.head_mark);
  EXPECT_TRUE(!view.options[0] && !view.options[1] && view.options[2] && !view.options[3]);
  // Pantographs follow the script until the first P, which turns switch P
  // off; from then on it rules every pantograph.
  EXPECT_FALSE(PantographShowsFirst(view, state, 0));
  EXPECT_TRUE(PantographShowsFirst(view, state, 1));
  ApplyPreviewKey(view, 'P', 0);
  EXPECT_FALSE(PantographShowsFirst(view, state, 0) || PantographShowsFirst(view, state, 1));
  ApplyPreviewKey(view, 'P', 0);
  EXPECT_TRUE(PantographShowsFirst(view, state, 0) && PantographShowsFirst(view, state, 1));

  // A live build keeps place and switches, but no head mark it lost.
  view.rotation[1] = 90.0f;
  view.translation[2] = -5.0f;
  view.head_lights = view.options[0] = true;
  view.head_mark = 2;
  const PreviewView carried = CarryPreviewView(view, state);
  EXPECT_EQ(Floats(carried.rotation) + " " + Floats(carried.translation), "0 90 0 0 0 -5");
  EXPECT_TRUE(carried.head_lights && carried.options[0] && !carried.pantograph_initial);
  EXPECT_EQ(carried.head_mark, 2u);
  state.head_mark_count = 1;
  EXPECT_EQ(CarryPreviewView(view, state).head_mark, 0u);
}

}  // namespace
