// The order in which a compiled vehicle is drawn, with its states: the
// expected orders in tests/data/preview/draw_lists.txt are written out by
// hand from the drawing rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <sstream>

#include "compiler/preview_state.h"
#include "preview/preview_view.h"
#include "preview/vehicle_draw_list.h"
#include "tests/case_text.h"

namespace {

MeshSlot Mesh(const char* name) {
  auto mesh = std::make_unique<PreviewMesh>();
  mesh->source = U16(name);
  return mesh;
}

// One word a step: "light", "main", "sign", "box", "specular1", "zw0",
// "blend2", "world", "sphere:NAME", "NAME".
std::string Words(const std::vector<DrawOp>& ops) {
  std::string words;
  for (const DrawOp& op : ops) {
    const std::string value = std::to_string(op.value);
    words += words.empty() ? "" : " ";
    switch (op.step) {
      case DrawStep::kSetLight: words += "light"; break;
      case DrawStep::kBindMainTexture: words += "main"; break;
      case DrawStep::kBindSignTexture: words += "sign"; break;
      case DrawStep::kBindContainerTexture: words += "box"; break;
      case DrawStep::kSpecular: words += "specular" + value; break;
      case DrawStep::kDepthWrite: words += "zw" + value; break;
      case DrawStep::kBlendMode: words += "blend" + value; break;
      case DrawStep::kSetWorld: words += "world"; break;
      case DrawStep::kSphereMap: words += "sphere:" + U8(op.mesh->source); break;
      case DrawStep::kDraw: words += U8(op.mesh->source); break;
    }
  }
  return words;
}

// A vehicle with one of nearly everything, two options of which only some
// parts are filled, and two bogies.
void FillTestVehicle(PreviewState& s) {
  s.main_texture = std::make_unique<PreviewTexture>();
  s.sign_texture = std::make_unique<PreviewTexture>();
  s.body_count = 2;
  s.roof_count = 1;
  s.head_mark_count = 2;
  s.pantograph_count = 2;
  s.head_light_count = 2;
  s.tail_light_count = 1;
  const std::pair<MeshSlot*, const char*> meshes[] = {
      {&s.bodies[0], "body1"}, {&s.bodies[1], "body2"}, {&s.bodies[2], "not-counted"}, {&s.roofs[0], "roof"},
      {&s.window, "window"}, {&s.heated_window, "heated"}, {&s.interior, "interior"}, {&s.lit_sign, "lit"},
      {&s.side_sign, "plate"}, {&s.side_sign2, "plate2"}, {&s.led_sign, "led"}, {&s.head_marks[0], "mark1"},
      {&s.head_marks[1], "mark2"}, {&s.pantographs[0].first, "pan1up"}, {&s.pantographs[0].second, "pan1down"},
      {&s.pantographs[1].first, "pan2up"}, {&s.pantographs[1].second, "pan2down"}, {&s.head_lights[0], "hl1"},
      {&s.head_lights[1], "hl2"}, {&s.tail_lights[0], "tl1"}, {&s.shunting_light, "ire"},
      {&s.options[0].parts[kOptionA], "o1A"}, {&s.options[0].parts[kOptionSign], "o1SIGN"},
      {&s.options[0].parts[kOptionHlm], "o1HLM"}, {&s.options[0].parts[kOptionLed], "o1LED"},
      {&s.options[2].parts[kOptionA2], "o3A2"}, {&s.options[2].parts[kOptionB], "o3B"},
      {&s.options[2].parts[kOptionW], "o3W"}, {&s.options[2].parts[kOptionH], "o3H"},
      {&s.options[2].parts[kOptionI], "o3I"}, {&s.options[2].parts[kOptionNumA], "o3NUMA"},
      {&s.options[2].parts[kOptionNumB], "o3NUMB"}, {&s.options[2].parts[kOptionTlp], "o3TLP"},
      {&s.options[2].parts[kOptionIre], "o3IRE"}, {&s.driving_wheels[0], "drive"}, {&s.bogie_frames[1], "frame"},
      {&s.wheels[0].mesh, "wheel"}};
  for (const auto& [slot, name] : meshes) *slot = Mesh(name);
  s.pantograph_states[1] = 1;
  s.options[0].number = 1;
  s.options[2].number = 3;
  s.wheels[0].diameter = 5.7;
  s.bogie_count = 2;
  s.bogies[0].position = -7;
  s.bogies[0].frame_index = 1;
  s.bogies[0].wheel_count = 2;
  s.bogies[0].wheel_indices[0] = s.bogies[0].wheel_indices[1] = 0;
  s.bogies[1].position = 7;
  s.bogies[1].frame_index = -1;  // no frame
  s.bogies[1].wheel_count = 2;
  s.bogies[1].wheel_indices[0] = 3;  // an empty slot
  s.bogies[1].wheel_indices[1] = 0;
}

// The test vehicle changed by `setup` ("ext=N", "keys=KEYS" pressed with two
// head marks, "no_textures", "mark=N", "option=I"), drawn.
std::string DrawTestVehicle(const std::string& setup) {
  PreviewState s;
  FillTestVehicle(s);
  std::istringstream words(setup);
  std::vector<std::string> settings(std::istream_iterator<std::string>(words), {});
  for (const std::string& w : settings) {
    if (w.rfind("ext=", 0) == 0) s.extension_flags = std::stoi(w.substr(4));
    if (w == "no_textures") s.main_texture.reset(), s.sign_texture.reset();
  }
  PreviewView view = InitialPreviewView(s);
  for (const std::string& w : settings) {
    if (w.rfind("keys=", 0) == 0)
      for (char key : w.substr(5)) ApplyPreviewKey(view, key, 2);
    if (w.rfind("mark=", 0) == 0) view.head_mark = std::stoi(w.substr(5));
    if (w.rfind("option=", 0) == 0) view.options[std::stoi(w.substr(7))] = true;
  }
  std::vector<DrawOp> ops;
  BuildVehicleDrawList(s, view, ops);
  return Words(ops);
}

TEST(VehicleDrawList, OrderAndStatesOfTheCases) {
  RunCaseFile("preview/draw_lists.txt",
              {{"draw", [](const CaseFields& in) { return DrawTestVehicle(in[0]); }},
               {"never_drawn", [](const CaseFields& in) {
                  std::istringstream drawn(DrawTestVehicle(in[0]));
                  std::string found;
                  for (std::string word; drawn >> word;) {
                    std::istringstream parts(in[1]);
                    for (std::string part; parts >> part;)
                      if (word.find(part) != std::string::npos) found += word + " ";
                  }
                  return found;
                }}});
}

TEST(VehicleDrawList, WheelsTurnAndFollowTheirBogie) {
  PreviewState s;
  FillTestVehicle(s);
  PreviewView view = InitialPreviewView(s);
  view.animation_clock = 3.14159265358979323846 * 5.7 / 4;  // a quarter turn
  s.bogies[0].wheel_placements[1][0] = 2.0f;
  s.bogies[0].wheel_placements[1][1] = 1.5f;
  std::vector<DrawOp> ops;
  BuildVehicleDrawList(s, view, ops);
  std::vector<Matrix4> worlds;
  for (const DrawOp& op : ops)
    if (op.step == DrawStep::kSetWorld) worlds.push_back(op.world);
  ASSERT_EQ(worlds.size(), 5u);  // vehicle, one frame, three wheels
  EXPECT_FLOAT_EQ(worlds[1].m[3][0], -7.0f);  // the frame of the first bogie
  // The second wheel of the first bogie: 2 ahead of it at height 1.5; its
  // top rim point (0,1,0) has turned to the back: x = -7 + 2 - 1.
  const Matrix4& w = worlds[3];
  EXPECT_NEAR(w.m[1][0] + w.m[3][0], -6.0, 1e-4);
  EXPECT_NEAR(w.m[1][1] + w.m[3][1], 1.5, 1e-4);
  EXPECT_NEAR(worlds[4].m[3][0], 7.0, 1e-4);  // the wheel of the second bogie

  // Surplus counts are capped: slots 1 and 2 hold bodies, the counted third
  // is named otherwise; a head mark the keys never set is still safe.
  s.body_count = 9;
  s.bogie_count = 200;
  s.bogies[0].wheel_count = 1000;
  s.bogies[0].wheel_indices[2] = -1;
  s.pantograph_count = 77;
  view.head_mark = 9;
  ops.clear();
  BuildVehicleDrawList(s, view, ops);
  EXPECT_EQ(std::count_if(ops.begin(), ops.end(),
                          [](const DrawOp& op) {
                            return op.step == DrawStep::kDraw && U8(op.mesh->source).rfind("body", 0) == 0;
                          }),
            2);
}

TEST(VehicleDrawList, ContainerModelAndGuideLines) {
  PreviewState s;
  s.container_model = Mesh("box");
  s.container_texture = std::make_unique<PreviewTexture>();
  PreviewView view;
  view.translation[0] = 5;
  view.drag_translation[0] = 100;  // not followed until the drag ends
  std::vector<DrawOp> ops;
  AppendContainerModel(s, view, ops);
  EXPECT_EQ(Words(ops), "zw1 light world blend1 box box");
  EXPECT_FLOAT_EQ(ops[2].world.m[3][0], 5.0f);

  s.bogie_count = 2;
  s.bogies[0].position = -7;
  s.bogies[1].position = 7.5f;
  std::ostringstream lines;
  for (const GuideLine& line : VehicleGuideLines(s))
    lines << line.from[0] << ' ' << line.from[1] << ' ' << line.from[2] << " to " << line.to[0] << ' '
          << line.to[1] << ' ' << line.to[2] << "; ";
  EXPECT_EQ(lines.str(),
            "-300 0 -4.5 to 300 0 -4.5; -300 0 4.5 to 300 0 4.5; -300 34 0 to 300 34 0; -7 0 0 to -7 -18 0; "
            "7.5 0 0 to 7.5 -18 0; ");
}

}  // namespace
