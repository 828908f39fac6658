// Running gear: bogie frames, wheels and how they sit in each bogie,
// driving wheels and pantographs.
#include "compiler/commands.h"
#include "compiler/model_conversion.h"
#include "compiler/tokens.h"

namespace {

// An index argument read as unsigned, so negative values fail the check.
bool IndexInRange(VehicleCompiler& c, int arg, uint32_t last, const char16_t* message, uint32_t* index) {
  *index = static_cast<uint32_t>(TokenInt(c, arg));
  if (*index <= last) return true;
  LogError(c, message);
  return false;
}

// Record `code`: the index, optionally one float, then the mesh.
void AppendIndexedMesh(VehicleCompiler& c, uint32_t code, uint32_t index, const float* value,
                       const std::vector<uint8_t>& mesh) {
  WriteRecordHeader(c.stream, code, static_cast<uint32_t>(mesh.size() + (value ? 12 : 8)));
  WriteU32(c.stream, index);
  if (value) WriteF32(c.stream, *value);
  WriteMesh(c, mesh);
}

}  // namespace

void CmdBogieFrameModel(VehicleCompiler& c, uint32_t code) {
  uint32_t index;
  if (!IndexInRange(c, 1, kMaxBogieFrames - 1, u"台車枠IDが異常\r\n", &index)) return;
  const std::u16string path = ModelPath(c, TokenText(c, 2));
  const float offset[3] = {0.0f, 0.0f, 0.0f};
  int texture_count = 0;
  if (!ConvertFrameModel(c, path, offset, &c.preview.bogie_frames[index], &texture_count)) return;
  if (!RequireOneTexture(c, path, texture_count)) return;
  std::vector<uint8_t> mesh;
  if (!ReadMeshForEmbedding(c, path, mesh)) return;
  AppendIndexedMesh(c, code, index, nullptr, mesh);
}

void CmdWheelModel(VehicleCompiler& c, uint32_t code) {
  uint32_t index;
  if (!IndexInRange(c, 1, kMaxWheels - 1, u"車輪IDが異常\r\n", &index)) return;
  PreviewWheel& wheel = c.preview.wheels[index];
  wheel.diameter = TokenDouble(c, 2) * static_cast<double>(c.length_scale);
  const float diameter = TokenScaled(c, 2);
  const std::u16string path = ModelPath(c, TokenText(c, 3));
  if (!ConvertWithOneTexture(c, path, TexturePage::kMain, &wheel.mesh)) return;
  std::vector<uint8_t> mesh;
  if (!ReadMeshForEmbedding(c, path, mesh)) return;
  AppendIndexedMesh(c, code, index, &diameter, mesh);
}

void CmdBogieStructureFrame(VehicleCompiler& c, uint32_t code) {
  uint32_t bogie, frame;
  if (!IndexInRange(c, 1, kMaxBogies - 1, u"台車IDが異常\r\n", &bogie)) return;
  // The preview draws the frame slot this names: it must be one of the eight.
  if (!IndexInRange(c, 2, kMaxBogieFrames - 1, u"台車枠IDが異常\r\n", &frame)) return;
  PreviewBogie& entry = c.preview.bogies[bogie];
  entry.index = static_cast<int32_t>(bogie);
  entry.frame_index = static_cast<int32_t>(frame);
  entry.wheel_count = 0;
  WriteRecordHeader(c.stream, code, 8);
  WriteU32(c.stream, bogie);
  WriteU32(c.stream, frame);
}

void CmdBogieStructureWheel(VehicleCompiler& c, uint32_t code) {
  uint32_t bogie, wheel;
  if (!IndexInRange(c, 1, kMaxBogies - 1, u"台車IDが異常\r\n", &bogie)) return;
  // The preview draws the wheel slot this names: it must be one of the eight.
  if (!IndexInRange(c, 2, kMaxWheels - 1, u"車輪IDが異常\r\n", &wheel)) return;
  const float x = TokenScaled(c, 3), y = TokenScaled(c, 4);
  PreviewBogie& entry = c.preview.bogies[bogie];
  if (entry.wheel_count < kMaxWheelsPerBogie) {
    entry.wheel_indices[entry.wheel_count] = static_cast<int32_t>(wheel);
    entry.wheel_placements[entry.wheel_count][0] = x;
    entry.wheel_placements[entry.wheel_count][1] = y;
    entry.wheel_placements[entry.wheel_count][2] = 0.0f;
    ++entry.wheel_count;
  }
  WriteRecordHeader(c.stream, code, 16);
  WriteU32(c.stream, bogie);
  WriteU32(c.stream, wheel);
  WriteF32(c.stream, x);
  WriteF32(c.stream, y);
}

void CmdDrivingWheelModel(VehicleCompiler& c, uint32_t code) {
  uint32_t index;
  if (!IndexInRange(c, 1, kMaxDrivingWheels - 1, u"動輪フレーム番号が異常\r\n", &index)) return;
  const std::u16string path = ModelPath(c, TokenText(c, 2));
  if (!ConvertWithOneTexture(c, path, TexturePage::kMain, &c.preview.driving_wheels[index])) return;
  std::vector<uint8_t> mesh;
  if (!ReadMeshForEmbedding(c, path, mesh)) return;
  AppendIndexedMesh(c, code, index, nullptr, mesh);
}

void CmdPantographModel(VehicleCompiler& c, uint32_t code) {
  PreviewState& p = c.preview;
  if (p.pantograph_count >= kMaxPantographs) {
    LogError(c, u" モデル数が多すぎる\r\n");
    return;
  }
  PreviewPantograph& pantograph = p.pantographs[p.pantograph_count];
  const std::u16string first = ModelPath(c, TokenText(c, 1));
  if (!ConvertWithOneTexture(c, first, TexturePage::kMain, &pantograph.first)) return;
  const std::u16string second = ModelPath(c, TokenText(c, 2));
  if (!ConvertWithOneTexture(c, second, TexturePage::kMain, &pantograph.second)) return;
  ++p.pantograph_count;
  std::vector<uint8_t> first_mesh, second_mesh;
  if (!ReadMeshForEmbedding(c, first, first_mesh) || !ReadMeshForEmbedding(c, second, second_mesh)) return;
  WriteRecordHeader(c.stream, code, static_cast<uint32_t>(first_mesh.size() + second_mesh.size() + 8));
  WriteMesh(c, first_mesh);
  WriteMesh(c, second_mesh);
}

void CmdPantographInit(VehicleCompiler& c, uint32_t code) {
  const int32_t pantograph = CheckedInt(c, 1);
  const int32_t state = CheckedInt(c, 2);
  if (static_cast<uint32_t>(pantograph) < kMaxPantographs)
    c.preview.pantograph_states[pantograph] = static_cast<uint32_t>(state);
  WriteRecordHeader(c.stream, code, 8);
  WriteU32(c.stream, static_cast<uint32_t>(pantograph));
  WriteU32(c.stream, static_cast<uint32_t>(state));
}
