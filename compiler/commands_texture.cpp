// Texture descriptions, the texture PNG names and the texture block that
// closes a vehicle's stream.
#include "compiler/commands.h"
#include "compiler/model_conversion.h"
#include "compiler/script_files.h"
#include "compiler/tokens.h"

namespace {

void ReadValues(VehicleCompiler& c, int first, TextureDescription& d) {
  for (int i = 0; i < 3; ++i) d.values[i] = static_cast<uint16_t>(TokenInt(c, first + i));
}

void AppendPng(VehicleCompiler& c, uint32_t tag, const std::u16string& name, const TextureDescription& d,
               const char16_t* no_name, const char16_t* unreadable) {
  if (name.empty()) {
    LogError(c, no_name);
    return;
  }
  std::vector<uint8_t> bytes;
  if (!ReadSharedScriptFile(c, name, bytes)) {
    LogError(c, unreadable);
    return;
  }
  WriteRecordHeader(c.stream, tag, static_cast<uint32_t>(bytes.size() + 12));
  WriteU32(c.stream, d.width);
  WriteU32(c.stream, d.height);
  WriteU32(c.stream, static_cast<uint32_t>(bytes.size()));
  WriteBytes(c.stream, bytes.size(), bytes.data());
}

// Keeps the PNG's name and makes the preview texture from its bytes; the
// texture block reads the file again at the end (from the read cache when
// it is small enough to be kept).
void TakePngTexture(VehicleCompiler& c, std::u16string& name, TextureSlot& texture) {
  texture.reset();
  name = TokenText(c, 1, 259);
  std::vector<uint8_t> bytes;
  if (ReadSharedScriptFile(c, name, bytes))
    texture = ActivePreviewFactory(c).CreateTexture(bytes.data(), bytes.size());
}

}  // namespace

void CmdTextureInfo(VehicleCompiler& c, uint32_t) {
  TextureDescription& d = c.main_texture;
  int32_t bits = TokenInt(c, 1);
  if (bits != 24) {
    LogError(c, u"texinfo BIT error\r\n");
    return;
  }
  d.bits = 24;
  ReadValues(c, 2, d);
  int32_t width = TokenInt(c, 5);
  if (width != 256 && width != 512) {
    LogError(c, u"texinfo サイズエラー dx = %d\r\n", width);
    return;
  }
  d.width = static_cast<uint32_t>(width);
  int32_t height = TokenInt(c, 6);
  if (height != 256 && height != 512) {
    LogError(c, u"texinfo サイズエラー dy = %d\r\n", height);
    return;
  }
  d.height = static_cast<uint32_t>(height);
}

void CmdTextureSign(VehicleCompiler& c, uint32_t) {
  TextureDescription& d = c.sign_texture;
  ReadValues(c, 1, d);
  int32_t width = TokenInt(c, 4);
  if (width != 256 && width != 128) {
    LogError(c, u"signinfo サイズエラー dx = %d\r\n", width);
    return;
  }
  d.width = static_cast<uint32_t>(width);
  int32_t height = TokenInt(c, 5);
  if (height != 256 && height != 128) {
    LogError(c, u"signinfo サイズエラー dy = %d\r\n", height);
    return;
  }
  d.height = static_cast<uint32_t>(height);
}

void CmdPngTexMain(VehicleCompiler& c, uint32_t) {
  TakePngTexture(c, c.main_png_name, c.preview.main_texture);
}

void CmdPngTexSign(VehicleCompiler& c, uint32_t) {
  TakePngTexture(c, c.sign_png_name, c.preview.sign_texture);
}

void AppendTextureBlock(VehicleCompiler& c) {
  WriteMarker(c.stream, 0xF008);
  const TextureDescription& m = c.main_texture;
  WriteRecordHeader(c.stream, 0x1400, 18);
  WriteU32(c.stream, m.bits);
  for (uint16_t v : m.values) WriteU16(c.stream, v);
  WriteU32(c.stream, m.width);
  WriteU32(c.stream, m.height);
  const TextureDescription& s = c.sign_texture;
  WriteRecordHeader(c.stream, 0x1420, 14);
  for (uint16_t v : s.values) WriteU16(c.stream, v);
  WriteU32(c.stream, s.width);
  WriteU32(c.stream, s.height);
  AppendPng(c, 0x1404, c.main_png_name, m, u"テクスチャー出力に失敗\r\n",
            u"テクスチャーファイルが生成されていない\r\n");
  AppendPng(c, 0x1412, c.sign_png_name, s, u"字幕出力に失敗\r\n", u"字幕ファイルが生成されていない\r\n");
  WriteMarker(c.stream, 0xF009);
}
