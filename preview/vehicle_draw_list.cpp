#include "preview/vehicle_draw_list.h"

#include "compiler/preview_state.h"
#include "preview/preview_view.h"

namespace {

class DrawListWriter {
 public:
  DrawListWriter(const PreviewState& state, const PreviewView& view, std::vector<DrawOp>& ops)
      : state_(state), view_(view), ops_(ops) {}

  void Step(DrawStep step, int value = 0) {
    DrawOp op{step};
    op.value = value;
    ops_.push_back(op);
  }
  void Blend(BlendMode mode) { Step(DrawStep::kBlendMode, static_cast<int>(mode)); }
  void World(const Matrix4& world) {
    DrawOp op{DrawStep::kSetWorld};
    op.world = world;
    ops_.push_back(op);
  }
  // A slot is drawn only when it holds a mesh.
  void Draw(const MeshSlot& slot, DrawStep step = DrawStep::kDraw) {
    if (!slot) return;
    DrawOp op{step};
    op.mesh = slot.get();
    ops_.push_back(op);
  }
  // The given part of every option whose switch is on, in option order.
  void DrawOptions(OptionPart part) {
    for (uint32_t n = 0; n < kMaxOptions; ++n)
      if (view_.options[n]) Draw(state_.options[n].parts[part]);
  }

 private:
  const PreviewState& state_;
  const PreviewView& view_;
  std::vector<DrawOp>& ops_;
};

uint32_t Capped(uint32_t count, uint32_t capacity) {
  return count < capacity ? count : capacity;
}

void DrawSigns(const PreviewState& s, const PreviewView& v, DrawListWriter& w) {
  w.Step(DrawStep::kBindSignTexture);
  w.Step(DrawStep::kSetLight);
  w.Draw(s.lit_sign);
  if (s.extension_flags & 3u) w.Draw(s.head_marks[v.tail_lights ? 1 : 0]);
  w.Step(DrawStep::kSetLight);
  w.Step(DrawStep::kSpecular, 1);
  w.Draw(s.side_sign);
  w.Step(DrawStep::kSpecular, 0);
  w.Draw(s.side_sign2);
  for (uint32_t n = 0; n < kMaxOptions; ++n) {
    if (!v.options[n]) continue;
    const PreviewOption& option = s.options[n];
    w.Step(DrawStep::kSetLight);
    w.Draw(option.parts[kOptionSign]);
    w.Draw(option.parts[kOptionNumA]);
    w.Draw(option.parts[kOptionNumB]);
  }
  if (v.head_mark >= 1 && v.head_mark <= kMaxHeadMarks) w.Draw(s.head_marks[v.head_mark - 1]);
}

void DrawRunningGear(const PreviewState& s, const PreviewView& v, const Matrix4& placement,
                     DrawListWriter& w) {
  w.Step(DrawStep::kDepthWrite, 1);
  w.Blend(BlendMode::kAlpha);
  w.Draw(s.driving_wheels[0]);

  const uint32_t bogies = Capped(s.bogie_count, kMaxBogies);
  for (uint32_t b = 0; b < bogies; ++b) {
    const PreviewBogie& bogie = s.bogies[b];
    if (bogie.frame_index < 0 || bogie.frame_index >= static_cast<int32_t>(kMaxBogieFrames)) continue;
    const MeshSlot& frame = s.bogie_frames[bogie.frame_index];
    if (!frame) continue;
    w.World(BogiePlacement(placement, bogie.position));
    w.Draw(frame);
  }
  for (uint32_t b = 0; b < bogies; ++b) {
    const PreviewBogie& bogie = s.bogies[b];
    const uint32_t wheels = Capped(bogie.wheel_count, kMaxWheelsPerBogie);
    for (uint32_t k = 0; k < wheels; ++k) {
      const int32_t index = bogie.wheel_indices[k];
      if (index < 0 || index >= static_cast<int32_t>(kMaxWheels)) continue;
      const PreviewWheel& wheel = s.wheels[index];
      if (!wheel.mesh) continue;
      const float spin = WheelSpin(v.animation_clock, wheel.diameter);
      w.World(WheelPlacement(placement, spin, bogie.wheel_placements[k], bogie.position));
      w.Draw(wheel.mesh);
    }
  }
}

}  // namespace

void BuildVehicleDrawList(const PreviewState& s, const PreviewView& v, std::vector<DrawOp>& ops) {
  ops.clear();
  DrawListWriter w(s, v, ops);
  const Matrix4 placement = VehiclePlacement(v);

  w.Step(DrawStep::kDepthWrite, 1);
  w.World(placement);
  w.Blend(BlendMode::kAlpha);

  if (s.sign_texture) DrawSigns(s, v, w);

  if (s.main_texture) w.Step(DrawStep::kBindMainTexture);
  w.Step(DrawStep::kSetLight);
  w.Draw(s.interior);
  w.DrawOptions(kOptionI);

  w.Step(DrawStep::kSetLight);
  w.Step(DrawStep::kSpecular, 1);
  const uint32_t bodies = Capped(s.body_count, kMaxBodyMeshes);
  for (uint32_t i = 0; i < bodies; ++i) {
    w.Draw(s.bodies[i], DrawStep::kSphereMap);
    w.Draw(s.bodies[i]);
  }
  w.DrawOptions(kOptionA);
  w.DrawOptions(kOptionA2);
  w.Step(DrawStep::kSpecular, 0);

  const uint32_t roofs = Capped(s.roof_count, kMaxRoofMeshes);
  for (uint32_t i = 0; i < roofs; ++i) w.Draw(s.roofs[i]);
  w.DrawOptions(kOptionB);

  const uint32_t pantographs = Capped(s.pantograph_count, kMaxPantographs);
  for (uint32_t i = 0; i < pantographs; ++i) {
    const PreviewPantograph& p = s.pantographs[i];
    w.Draw(PantographShowsFirst(v, s, i) ? p.first : p.second);
  }

  w.Step(DrawStep::kSpecular, 1);
  w.Step(DrawStep::kDepthWrite, 0);
  w.Blend(BlendMode::kColourTranslucent);
  w.Draw(s.window);
  w.DrawOptions(kOptionW);
  w.Blend(BlendMode::kMultiply);
  w.Draw(s.heated_window);
  w.DrawOptions(kOptionH);
  w.Step(DrawStep::kDepthWrite, 1);
  w.Step(DrawStep::kSpecular, 0);
  w.Blend(BlendMode::kAdditive);
  w.Step(DrawStep::kDepthWrite, 0);

  w.Step(DrawStep::kSetLight);
  if (v.head_lights) {
    for (const MeshSlot& light : s.head_lights) w.Draw(light);
    w.DrawOptions(kOptionHlm);
    w.DrawOptions(kOptionHlp);
  }
  if (v.tail_lights) {
    for (const MeshSlot& light : s.tail_lights) w.Draw(light);
    w.DrawOptions(kOptionTlm);
    w.DrawOptions(kOptionTlp);
  }
  if (v.shunting_light) {
    w.Draw(s.shunting_light);
    w.DrawOptions(kOptionIre);
  }

  if (s.sign_texture) {
    w.Step(DrawStep::kBindSignTexture);
    w.Draw(s.led_sign);
    w.DrawOptions(kOptionLed);
    if (s.main_texture) w.Step(DrawStep::kBindMainTexture);
  }

  DrawRunningGear(s, v, placement, w);
}

void AppendContainerModel(const PreviewState& s, const PreviewView& v, std::vector<DrawOp>& ops) {
  DrawListWriter w(s, v, ops);
  w.Step(DrawStep::kDepthWrite, 1);
  w.Step(DrawStep::kSetLight);
  w.World(CommittedPlacement(v));
  w.Blend(BlendMode::kAlpha);
  if (s.container_texture) w.Step(DrawStep::kBindContainerTexture);
  w.Draw(s.container_model);
}

std::vector<GuideLine> VehicleGuideLines(const PreviewState& s) {
  std::vector<GuideLine> lines = {
      {{-300, 0, -4.5f}, {300, 0, -4.5f}},
      {{-300, 0, 4.5f}, {300, 0, 4.5f}},
      {{-300, 34, 0}, {300, 34, 0}},
  };
  const uint32_t bogies = Capped(s.bogie_count, kMaxBogies);
  for (uint32_t b = 0; b < bogies; ++b) {
    const float x = s.bogies[b].position;
    lines.push_back({{x, 0, 0}, {x, -18, 0}});
  }
  return lines;
}
