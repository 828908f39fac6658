// What the compiler keeps beside the record stream so the preview can draw
// the vehicle at once: one mesh per model command, the textures, and the
// bogie and container tables. Slots hold what fits; a script with more
// models than a group holds still compiles, the preview keeps the first.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "compiler/preview_factory.h"

using MeshSlot = std::unique_ptr<PreviewMesh>;
using TextureSlot = std::unique_ptr<PreviewTexture>;

constexpr uint32_t kMaxBodyMeshes = 4;
constexpr uint32_t kMaxRoofMeshes = 4;
constexpr uint32_t kMaxHeadMarks = 4;
constexpr uint32_t kMaxPantographs = 4;
constexpr uint32_t kMaxLightsPerEnd = 2;  // head lights, and tail lights
constexpr uint32_t kMaxOptions = 4;       // option numbers 1-4
constexpr uint32_t kMaxDrivingWheels = 21;
constexpr uint32_t kMaxBogieFrames = 8;
constexpr uint32_t kMaxWheels = 8;
constexpr uint32_t kMaxContainerMeshes = 8;
constexpr size_t kMaxBogies = 8;
constexpr size_t kMaxWheelsPerBogie = 8;
constexpr size_t kMaxContainerPositions = 64;
constexpr size_t kMaxWaveEntries = 1024;
constexpr uint32_t kGuideLineCapacity = 50;

// The preview slot of each option part, in the order the preview lists them.
enum OptionPart {
  kOptionA,
  kOptionA2,
  kOptionB,
  kOptionH,
  kOptionW,
  kOptionI,
  kOptionSign,
  kOptionLed,
  kOptionNumA,
  kOptionNumB,
  kOptionHlm,
  kOptionHlp,
  kOptionTlm,
  kOptionTlp,
  kOptionIre,
  kOptionPartCount
};

struct PreviewOption {
  uint32_t number = 0;  // set by the first model line of the option
  MeshSlot parts[kOptionPartCount];
};

struct PreviewPantograph {
  MeshSlot first;   // the raised model, as the generator writes it
  MeshSlot second;  // the lowered model
};

struct PreviewWheel {
  MeshSlot mesh;
  double diameter = 0.0;  // times the length scale
};

struct PreviewContainerMesh {
  MeshSlot mesh;
  uint32_t number = 0;
};

struct PreviewBogie {
  int32_t index = 0;
  float position = 0.0f;
  int32_t frame_index = -1;
  uint32_t wheel_count = 0;
  int32_t wheel_indices[kMaxWheelsPerBogie] = {};
  float wheel_placements[kMaxWheelsPerBogie][3] = {};
};

struct PreviewContainerPosition {
  uint32_t number = 0;
  float x = 0, y = 0, z = 0;
};

struct WaveEntry {
  std::u16string name;  // at most 63 units
  int32_t number = 0;
  std::u16string file;  // at most 259 units
};

struct PreviewState {
  std::u16string vehicle_name;  // 64 units
  std::u16string short_name;    // 32 units
  uint32_t extension_flags = 0;

  uint32_t body_count = 0;
  MeshSlot bodies[kMaxBodyMeshes];
  uint32_t roof_count = 0;
  MeshSlot roofs[kMaxRoofMeshes];
  MeshSlot window, heated_window, interior;
  MeshSlot lit_sign, side_sign, side_sign2, led_sign;
  uint32_t head_mark_count = 0;
  MeshSlot head_marks[kMaxHeadMarks];

  uint32_t pantograph_count = 0;
  PreviewPantograph pantographs[kMaxPantographs];
  uint32_t pantograph_states[kMaxPantographs] = {};

  uint32_t head_light_count = 0;
  MeshSlot head_lights[kMaxLightsPerEnd];
  uint32_t tail_light_count = 0;
  MeshSlot tail_lights[kMaxLightsPerEnd];
  MeshSlot shunting_light;

  PreviewOption options[kMaxOptions];       // option number n in options[n - 1]
  bool option_shown[kMaxOptions + 1] = {};  // switched on at the start, by number 0-4
  int32_t last_initial_option = 0;

  MeshSlot driving_wheels[kMaxDrivingWheels];
  MeshSlot bogie_frames[kMaxBogieFrames];
  PreviewWheel wheels[kMaxWheels];
  uint32_t bogie_count = 0;
  PreviewBogie bogies[kMaxBogies];

  uint32_t container_mesh_count = 0;
  PreviewContainerMesh container_meshes[kMaxContainerMeshes];
  std::vector<PreviewContainerPosition> container_positions;  // up to 64 kept

  TextureSlot main_texture, sign_texture;
  MeshSlot container_model;
  TextureSlot container_texture;

  std::vector<WaveEntry> waves;  // up to 1,024 kept

  // The guide lines the preview draws under the vehicle; attached by the
  // Make-data run, released with the rest.
  std::unique_ptr<PreviewLineBatch> guide_lines;
};

// Releases every mesh, texture and the line batch, slot group by slot group
// in the order above, every slot of each group whether counted or not, and
// then empties the state.
void ReleasePreviewObjects(PreviewState& p);
