// Container-part commands: a script that describes a freight container
// instead of a vehicle compiles into a .z5c file.
#include <ctime>

#include "compiler/commands.h"
#include "compiler/model_conversion.h"
#include "compiler/script_files.h"
#include "compiler/tokens.h"
#include "platform/image_headers.h"

void CmdContainerPart(VehicleCompiler& c, uint32_t) {
  c.container_part = true;
}

void CmdContainerText(VehicleCompiler& c, uint32_t code) {
  size_t units = code == 0x801001 ? 32 : code == 0x801005 ? 64 : 16;
  std::u16string text = TokenText(c, 1, units);
  if (code == 0x801001) c.container_name = text;
  if (code == 0x801005) c.container_guide = text;
  if (code == 0x801006) c.container_maker = text;
  WriteRecordHeader(c.stream, code, static_cast<uint32_t>(units * 2));
  WriteText(c.stream, units, text);
}

void CmdContainerNumber(VehicleCompiler& c, uint32_t code) {
  int32_t value = CheckedInt(c, 1);
  WriteRecordHeader(c.stream, code, 4);
  WriteU32(c.stream, static_cast<uint32_t>(value));
}

void CmdContainerLength(VehicleCompiler& c, uint32_t code) {
  WriteRecordHeader(c.stream, code, 4);
  WriteF32(c.stream, TokenFloat(c, 1));
}

void CmdContainerSavetime(VehicleCompiler& c, uint32_t code) {
  uint64_t now = static_cast<uint64_t>(std::time(nullptr));
  WriteRecordHeader(c.stream, code, 8);
  WriteU32(c.stream, static_cast<uint32_t>(now));
  WriteU32(c.stream, static_cast<uint32_t>(now >> 32));
}

void CmdContainerSideview(VehicleCompiler& c, uint32_t code) {
  const std::u16string name = TokenText(c, 1);
  std::vector<uint8_t> bytes;
  if (!ReadScriptFile(c, name, bytes)) {
    LogError(c, u"画像ファイルが見つからない [%s]\r\n", name);
    return;
  }
  PngHeader png;
  if (!ReadPngSize(bytes.data(), bytes.size(), png)) {
    LogError(c, u"画像ファイルエラー [%s]\r\n", name);
    return;
  }
  WriteRecordHeader(c.stream, code, static_cast<uint32_t>(bytes.size() + 12));
  WriteU32(c.stream, png.width);
  WriteU32(c.stream, png.height);
  WriteU32(c.stream, static_cast<uint32_t>(bytes.size()));
  WriteBytes(c.stream, bytes.size(), bytes.data());
}

void CmdContainerModelBegin(VehicleCompiler& c, uint32_t code) {
  int32_t size = TokenInt(c, 1);
  if (size <= 0) {
    // The texture page divides texture coordinates later: never let it be 0.
    LogError(c, u"ContainerModelBegin テクスチャーサイズが不正 [%d]\r\n", size);
    WriteMarker(c.stream, code);
    return;
  }
  c.container_texture_size = static_cast<uint32_t>(size);
  c.main_texture.width = static_cast<uint32_t>(size);
  c.main_texture.height = static_cast<uint32_t>(size);
  WriteMarker(c.stream, code);
}

void CmdContainerObjMain(VehicleCompiler& c, uint32_t code) {
  EmbedModelRecord(c, code, 1, ModelTarget{TexturePage::kMain, &c.preview.container_model, nullptr, 0});
}

// No command of the language fills a container texture list, so the end of
// the container model has no texture images to combine and nothing to
// write: it only lets go of the container texture.
void CmdContainerModelEnd(VehicleCompiler& c, uint32_t) {
  c.preview.container_texture.reset();
}
