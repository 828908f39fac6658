// Sounds, the wave list and the vehicle's side-view image.
#include "compiler/commands.h"
#include "compiler/script_files.h"
#include "compiler/tokens.h"

void CmdLoadWave(VehicleCompiler& c, uint32_t) {
  WaveEntry entry;
  entry.name = TokenText(c, 1, 63);
  entry.number = CheckedInt(c, 2);
  entry.file = TokenText(c, 3, 259);
  // The list has room for 1,024 entries; it is kept, never written.
  if (c.preview.waves.size() < kMaxWaveEntries) c.preview.waves.push_back(entry);
}

void CmdSound(VehicleCompiler& c, uint32_t code) {
  const std::u16string name = TokenText(c, 1);
  std::vector<uint8_t> bytes;
  if (!ReadScriptFile(c, name, bytes)) {
    LogError(c, u"waveファイルがありません。[%s]\r\n", name);
    return;
  }
  WriteRecordHeader(c.stream, code, static_cast<uint32_t>(bytes.size() + 8));
  WriteU32(c.stream, 0);
  WriteU32(c.stream, static_cast<uint32_t>(bytes.size()));
  WriteBytes(c.stream, bytes.size(), bytes.data());
}

void CmdSideView(VehicleCompiler& c, uint32_t code) {
  const std::u16string name = TokenText(c, 1);
  std::vector<uint8_t> bytes;
  if (!ReadSharedScriptFile(c, name, bytes)) {
    LogError(c, u"車両画像ファイルが見つからない [%s]\r\n", name);
    return;
  }
  WriteRecordHeader(c.stream, code, static_cast<uint32_t>(bytes.size() + 4));
  WriteU32(c.stream, static_cast<uint32_t>(bytes.size()));
  WriteBytes(c.stream, bytes.size(), bytes.data());
}
