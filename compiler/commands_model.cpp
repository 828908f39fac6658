// Model commands of the body and its fittings: each converts its OBJ file,
// embeds the mesh file and keeps a preview mesh in its slot.
#include "compiler/commands.h"
#include "compiler/model_conversion.h"
#include "compiler/tokens.h"
#include "platform/files.h"

namespace {

constexpr TexturePage kMain = TexturePage::kMain, kSign = TexturePage::kSign;

// Commands whose model fills one slot of its own.
struct SingleSlot {
  uint32_t code;
  TexturePage page;
  MeshSlot PreviewState::*slot;
};
const SingleSlot kSingleSlots[] = {
    {0x1303, kMain, &PreviewState::window},    {0x1307, kMain, &PreviewState::heated_window},
    {0x1304, kMain, &PreviewState::interior},  {0x1305, kSign, &PreviewState::lit_sign},
    {0x1306, kSign, &PreviewState::side_sign}, {0x1309, kSign, &PreviewState::side_sign2},
    {0x130D, kSign, &PreviewState::led_sign},  {0x1342, kMain, &PreviewState::shunting_light},
};

}  // namespace

void CmdModel(VehicleCompiler& c, uint32_t code) {
  PreviewState& p = c.preview;
  if (code == 0x1302) {
    EmbedModelRecord(c, code, 1, CountedTarget(kMain, p.roofs, p.roof_count));
    return;
  }
  for (const SingleSlot& single : kSingleSlots) {
    if (single.code == code) {
      EmbedModelRecord(c, code, 1, ModelTarget{single.page, &(p.*single.slot), nullptr, 0});
      return;
    }
  }
}

void CmdBodyModel(VehicleCompiler& c, uint32_t code) {
  PreviewState& p = c.preview;
  const std::u16string path = ModelPath(c, TokenText(c, 1));
  const bool room = p.body_count < kMaxBodyMeshes;
  // The body's preview mesh is a copy with room for the reflection's
  // texture coordinates; the converted mesh is only its source.
  MeshSlot converted;
  int texture_count = 0;
  if (!ConvertModel(c, path, kMain, room ? &converted : nullptr, &texture_count)) return;
  if (converted) {
    MeshSlot& slot = p.bodies[p.body_count];
    slot.reset();
    slot = ActivePreviewFactory(c).CopySphereMapped(*converted);
    converted.reset();
  }
  if (!RequireOneTexture(c, path, texture_count)) return;
  if (room) ++p.body_count;
  std::vector<uint8_t> mesh;
  if (!ReadMeshForEmbedding(c, path, mesh)) return;
  WriteRecordHeader(c.stream, code, static_cast<uint32_t>(mesh.size() + 4));
  WriteMesh(c, mesh);
}

void CmdHeadMarkModel(VehicleCompiler& c, uint32_t code) {
  PreviewState& p = c.preview;
  const std::u16string path = ModelPath(c, TokenText(c, 1));
  MeshSlot* slot = p.head_mark_count < kMaxHeadMarks ? &p.head_marks[p.head_mark_count] : nullptr;
  if (!ConvertWithOneTexture(c, path, kSign, slot)) return;
  std::vector<uint8_t> mesh;
  if (!ReadMeshForEmbedding(c, path, mesh)) return;
  WriteRecordHeader(c.stream, code, static_cast<uint32_t>(mesh.size() + 4));
  WriteMesh(c, mesh);
  // Head marks count only once their record is written.
  if (slot) ++p.head_mark_count;
}

void CmdLightModel(VehicleCompiler& c, uint32_t code) {
  PreviewState& p = c.preview;
  const bool head = code == 0x1340;
  uint32_t& count = head ? p.head_light_count : p.tail_light_count;
  if (count >= kMaxLightsPerEnd) {
    LogError(c, u" モデル数が多すぎる\r\n");
    return;
  }
  const float direction = TokenFloat(c, 1);
  const std::u16string path = ModelPath(c, TokenText(c, 2));
  MeshSlot& slot = head ? p.head_lights[count] : p.tail_lights[count];
  if (!ConvertWithOneTexture(c, path, kMain, &slot)) return;
  ++count;
  std::vector<uint8_t> mesh;
  if (!ReadMeshForEmbedding(c, path, mesh)) return;
  WriteRecordHeader(c.stream, code, static_cast<uint32_t>(mesh.size() + 8));
  WriteF32(c.stream, direction);
  WriteMesh(c, mesh);
}

void CmdContainerModel(VehicleCompiler& c, uint32_t code) {
  PreviewState& p = c.preview;
  const uint32_t number = static_cast<uint32_t>(TokenInt(c, 1));
  const std::u16string name = TokenText(c, 2);
  const std::u16string path = ModelPath(c, TokenText(c, 4));
  const bool room = p.container_mesh_count < kMaxContainerMeshes;
  if (!ConvertWithOneTexture(c, path, kMain,
                             room ? &p.container_meshes[p.container_mesh_count].mesh : nullptr))
    return;
  std::vector<uint8_t> mesh;
  if (!ReadMeshForEmbedding(c, path, mesh)) return;
  const std::u16string file = ModelPath(c, TokenText(c, 3));
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(file, bytes)) {
    LogError(c, u"コンテナファイルが読み込めない [%s]\r\n", file);
    return;
  }
  WriteRecordHeader(c.stream, code, static_cast<uint32_t>(bytes.size() + mesh.size() + 76));
  WriteU32(c.stream, number);
  WriteText(c.stream, 32, name);
  WriteU32(c.stream, static_cast<uint32_t>(bytes.size()));
  WriteBytes(c.stream, bytes.size(), bytes.data());
  WriteMesh(c, mesh);
  if (room) p.container_meshes[p.container_mesh_count++].number = number;
}

void CmdMainRenderParam(VehicleCompiler& c, uint32_t code) {
  WriteRecordHeader(c.stream, code, 20);
  WriteU32(c.stream, static_cast<uint32_t>(TokenInt(c, 1)));
  WriteU32(c.stream, static_cast<uint32_t>(TokenInt(c, 2)));
  for (int i = 3; i <= 5; ++i) WriteF32(c.stream, TokenFloat(c, i));
}
