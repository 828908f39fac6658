// What the compiler keeps beside the record stream so the preview can draw
// the vehicle at once.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct PreviewBogie {
  int32_t index = 0;
  float position = 0.0f;
  int32_t frame_index = -1;
  uint32_t wheel_count = 0;
  int32_t wheel_indices[8] = {};
  float wheel_placements[8][3] = {};
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

constexpr size_t kMaxBogies = 8;
constexpr size_t kMaxContainerPositions = 64;
constexpr size_t kMaxWaveEntries = 1024;

struct PreviewState {
  std::u16string vehicle_name;  // 64 units
  std::u16string short_name;    // 32 units
  uint32_t extension_flags = 0;
  uint32_t bogie_count = 0;
  PreviewBogie bogies[kMaxBogies];
  std::vector<PreviewContainerPosition> container_positions;  // up to 64 kept
  std::vector<WaveEntry> waves;                               // up to 1,024 kept
};
