// The order in which a compiled vehicle is drawn, with its states, written
// out by hand from the drawing rules and compared step by step.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiler/preview_state.h"
#include "preview/preview_view.h"
#include "preview/vehicle_draw_list.h"
#include "tests/test_util.h"

namespace {

MeshSlot Mesh(const char* name) {
  auto mesh = std::make_unique<PreviewMesh>();
  mesh->source = U16(name);
  return mesh;
}

// One word per step: "light", "main", "sign", "box", "specular1", "zw0",
// "blend2", "world", "sphere:NAME", "NAME".
std::vector<std::string> Words(const std::vector<DrawOp>& ops) {
  std::vector<std::string> words;
  for (const DrawOp& op : ops) {
    switch (op.step) {
      case DrawStep::kSetLight:
        words.push_back("light");
        break;
      case DrawStep::kBindMainTexture:
        words.push_back("main");
        break;
      case DrawStep::kBindSignTexture:
        words.push_back("sign");
        break;
      case DrawStep::kBindContainerTexture:
        words.push_back("box");
        break;
      case DrawStep::kSpecular:
        words.push_back("specular" + std::to_string(op.value));
        break;
      case DrawStep::kDepthWrite:
        words.push_back("zw" + std::to_string(op.value));
        break;
      case DrawStep::kBlendMode:
        words.push_back("blend" + std::to_string(op.value));
        break;
      case DrawStep::kSetWorld:
        words.push_back("world");
        break;
      case DrawStep::kSphereMap:
        words.push_back("sphere:" + U8(op.mesh->source));
        break;
      case DrawStep::kDraw:
        words.push_back(U8(op.mesh->source));
        break;
    }
  }
  return words;
}

std::vector<std::string> Split(const std::string& text) {
  std::vector<std::string> words;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(' ', start);
    if (end == std::string::npos) end = text.size();
    if (end > start) words.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return words;
}

// A vehicle with one of nearly everything, two options of which only some
// parts are filled, and two bogies.
struct TestVehicle {
  PreviewState s;
  TestVehicle() {
    s.main_texture = std::make_unique<PreviewTexture>();
    s.sign_texture = std::make_unique<PreviewTexture>();
    s.body_count = 2;
    s.bodies[0] = Mesh("body1");
    s.bodies[1] = Mesh("body2");
    s.bodies[2] = Mesh("not-counted");
    s.roof_count = 1;
    s.roofs[0] = Mesh("roof");
    s.window = Mesh("window");
    s.heated_window = Mesh("heated");
    s.interior = Mesh("interior");
    s.lit_sign = Mesh("lit");
    s.side_sign = Mesh("plate");
    s.side_sign2 = Mesh("plate2");
    s.led_sign = Mesh("led");
    s.head_mark_count = 2;
    s.head_marks[0] = Mesh("mark1");
    s.head_marks[1] = Mesh("mark2");
    s.pantograph_count = 2;
    s.pantographs[0].first = Mesh("pan1up");
    s.pantographs[0].second = Mesh("pan1down");
    s.pantographs[1].first = Mesh("pan2up");
    s.pantographs[1].second = Mesh("pan2down");
    s.pantograph_states[1] = 1;
    s.head_light_count = 2;
    s.head_lights[0] = Mesh("hl1");
    s.head_lights[1] = Mesh("hl2");
    s.tail_light_count = 1;
    s.tail_lights[0] = Mesh("tl1");
    s.shunting_light = Mesh("ire");
    s.options[0].number = 1;
    s.options[0].parts[kOptionA] = Mesh("o1A");
    s.options[0].parts[kOptionSign] = Mesh("o1SIGN");
    s.options[0].parts[kOptionHlm] = Mesh("o1HLM");
    s.options[0].parts[kOptionLed] = Mesh("o1LED");
    s.options[2].number = 3;
    s.options[2].parts[kOptionA2] = Mesh("o3A2");
    s.options[2].parts[kOptionB] = Mesh("o3B");
    s.options[2].parts[kOptionW] = Mesh("o3W");
    s.options[2].parts[kOptionH] = Mesh("o3H");
    s.options[2].parts[kOptionI] = Mesh("o3I");
    s.options[2].parts[kOptionNumA] = Mesh("o3NUMA");
    s.options[2].parts[kOptionNumB] = Mesh("o3NUMB");
    s.options[2].parts[kOptionTlp] = Mesh("o3TLP");
    s.options[2].parts[kOptionIre] = Mesh("o3IRE");
    s.driving_wheels[0] = Mesh("drive");
    s.bogie_frames[1] = Mesh("frame");
    s.wheels[0].mesh = Mesh("wheel");
    s.wheels[0].diameter = 5.7;
    s.bogie_count = 2;
    s.bogies[0].position = -7;
    s.bogies[0].frame_index = 1;
    s.bogies[0].wheel_count = 2;
    s.bogies[0].wheel_indices[0] = 0;
    s.bogies[0].wheel_indices[1] = 0;
    s.bogies[1].position = 7;
    s.bogies[1].frame_index = -1;  // no frame
    s.bogies[1].wheel_count = 2;
    s.bogies[1].wheel_indices[0] = 3;  // an empty slot
    s.bogies[1].wheel_indices[1] = 0;
  }
};

TEST(VehicleDrawList, RightAfterMakeData) {
  TestVehicle v;
  PreviewView view = InitialPreviewView(v.s);
  std::vector<DrawOp> ops;
  BuildVehicleDrawList(v.s, view, ops);
  const std::string expected =
      "zw1 world blend1 "
      "sign light lit light specular1 plate specular0 plate2 "
      "main light interior "
      "light specular1 sphere:body1 body1 sphere:body2 body2 specular0 "
      "roof "
      "pan1down pan2up "  // as the script left them
      "specular1 zw0 blend2 window blend5 heated zw1 specular0 blend4 zw0 "
      "light "
      "sign led main "
      "zw1 blend1 drive "
      "world frame "
      "world wheel world wheel world wheel";
  EXPECT_EQ(Words(ops), Split(expected));
}

TEST(VehicleDrawList, EverySwitchOn) {
  TestVehicle v;
  v.s.extension_flags = 2;  // LEDTAILBK
  PreviewView view = InitialPreviewView(v.s);
  for (uint32_t key : {'1', '3', 'H', 'T', 'I', 'M', 'M', 'P'}) ApplyPreviewKey(view, key, 2);
  std::vector<DrawOp> ops;
  BuildVehicleDrawList(v.s, view, ops);
  const std::string expected =
      "zw1 world blend1 "
      // The extension shows head mark 2 with the tail lights on; then the
      // chosen head mark (2) once more after the option signs.
      "sign light lit mark2 light specular1 plate specular0 plate2 "
      "light o1SIGN light o3NUMA o3NUMB mark2 "
      "main light interior o3I "
      "light specular1 sphere:body1 body1 sphere:body2 body2 o1A o3A2 specular0 "
      "roof o3B "
      "pan1down pan2down "  // P pressed once: switch P off for both
      "specular1 zw0 blend2 window o3W blend5 heated o3H zw1 specular0 blend4 zw0 "
      "light hl1 hl2 o1HLM tl1 o3TLP ire o3IRE "
      "sign led o1LED main "
      "zw1 blend1 drive "
      "world frame "
      "world wheel world wheel world wheel";
  EXPECT_EQ(Words(ops), Split(expected));
}

TEST(VehicleDrawList, WithoutSignTextureNoSignsAndNoHeadMark) {
  TestVehicle v;
  v.s.sign_texture.reset();
  v.s.main_texture.reset();
  v.s.extension_flags = 3;
  PreviewView view = InitialPreviewView(v.s);
  view.head_mark = 1;
  view.options[0] = true;
  std::vector<DrawOp> ops;
  BuildVehicleDrawList(v.s, view, ops);
  for (const std::string& word : Words(ops)) {
    EXPECT_TRUE(word.find("mark") == std::string::npos && word.find("lit") == std::string::npos &&
                word.find("plate") == std::string::npos && word.find("led") == std::string::npos &&
                word.find("LED") == std::string::npos && word.find("SIGN") == std::string::npos &&
                word != "sign" && word != "main")
        << word;
  }
}

TEST(VehicleDrawList, WheelsTurnAndFollowTheirBogie) {
  TestVehicle v;
  PreviewView view = InitialPreviewView(v.s);
  view.animation_clock = 3.14159265358979323846 * 5.7 / 4;  // a quarter turn
  v.s.bogies[0].wheel_placements[1][0] = 2.0f;
  v.s.bogies[0].wheel_placements[1][1] = 1.5f;
  std::vector<DrawOp> ops;
  BuildVehicleDrawList(v.s, view, ops);
  std::vector<Matrix4> worlds;
  for (const DrawOp& op : ops)
    if (op.step == DrawStep::kSetWorld) worlds.push_back(op.world);
  ASSERT_EQ(worlds.size(), 5u);  // vehicle, one frame, three wheels
  // The frame of the first bogie sits at -7.
  EXPECT_FLOAT_EQ(worlds[1].m[3][0], -7.0f);
  // The second wheel of the first bogie: 2 ahead of it at height 1.5; its
  // top rim point (0,1,0) has turned to the back: x = -7 + 2 - 1.
  const Matrix4& w = worlds[3];
  EXPECT_NEAR(1 * w.m[1][0] + w.m[3][0], -6.0, 1e-4);
  EXPECT_NEAR(1 * w.m[1][1] + w.m[3][1], 1.5, 1e-4);
  // The wheel of the second bogie at +7.
  EXPECT_NEAR(worlds[4].m[3][0], 7.0, 1e-4);
}

TEST(VehicleDrawList, SurplusCountsAreCapped) {
  TestVehicle v;
  v.s.body_count = 9;
  v.s.bogie_count = 200;
  v.s.bogies[0].wheel_count = 1000;
  v.s.bogies[0].wheel_indices[2] = -1;
  v.s.pantograph_count = 77;
  PreviewView view = InitialPreviewView(v.s);
  view.head_mark = 9;  // never set by the keys, still safe
  std::vector<DrawOp> ops;
  BuildVehicleDrawList(v.s, view, ops);
  int bodies = 0;
  for (const DrawOp& op : ops)
    if (op.step == DrawStep::kDraw && U8(op.mesh->source).rfind("body", 0) == 0) ++bodies;
  EXPECT_EQ(bodies, 2);  // slots 1 and 2 hold meshes; the counted 3rd is named otherwise
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
  EXPECT_EQ(Words(ops), Split("zw1 light world blend1 box box"));
  EXPECT_FLOAT_EQ(ops[2].world.m[3][0], 5.0f);

  s.bogie_count = 2;
  s.bogies[0].position = -7;
  s.bogies[1].position = 7.5f;
  const std::vector<GuideLine> lines = VehicleGuideLines(s);
  ASSERT_EQ(lines.size(), 5u);
  const float expected[5][6] = {{-300, 0, -4.5f, 300, 0, -4.5f},
                                {-300, 0, 4.5f, 300, 0, 4.5f},
                                {-300, 34, 0, 300, 34, 0},
                                {-7, 0, 0, -7, -18, 0},
                                {7.5f, 0, 0, 7.5f, -18, 0}};
  for (int i = 0; i < 5; ++i) {
    for (int k = 0; k < 3; ++k) {
      EXPECT_EQ(lines[i].from[k], expected[i][k]) << i;
      EXPECT_EQ(lines[i].to[k], expected[i][3 + k]) << i;
    }
  }
}

}  // namespace
