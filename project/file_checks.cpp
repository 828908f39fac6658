#include "project/file_checks.h"

#include <cstring>

#include "platform/byte_order.h"
#include "platform/files.h"
#include "platform/fs.h"
#include "platform/image_headers.h"

const FileField kImageFields[3] = {
    {u"maintex", &VehicleProject::maintex, FileKind::kMainTexture, u"メインテクスチャー",
     u"メインテクスチャー：不適切なファイルです。", nullptr},
    {u"sideview", &VehicleProject::sideview, FileKind::kSideView, u"サイドビュー",
     u"サイドビュー：不適切なファイルです。", nullptr},
    {u"subtex", &VehicleProject::subtex, FileKind::kSubTexture, u"車両テクスチャー",
     u"車両テクスチャー：不適切なファイルです。", nullptr},
};

const FileField kSoundFields[10] = {
    {u"whistle", &VehicleProject::whistle, FileKind::kWave, u"警笛", u"警笛 : 不適切なwaveファイルです。",
     u"音源警笛"},
    {u"break", &VehicleProject::brake, FileKind::kWave, u"ブレーキ",
     u"ブレーキ : 不適切なwaveファイルです。", u"音源ブレーキ"},
    {u"motor1", &VehicleProject::motor1, FileKind::kWave, u"モーター1",
     u"モーター1 : 不適切なwaveファイルです。", u"音源モーター基準"},
    {u"motor2", &VehicleProject::motor2, FileKind::kWave, u"モーター2",
     u"モーター2 : 不適切なwaveファイルです。", u"音源モーター高速"},
    {u"gap1", &VehicleProject::gap1, FileKind::kWave, u"ギャップ1", u"ギャップ1 : 不適切なwaveファイルです。",
     u"音源ギャップ1"},
    {u"gap2", &VehicleProject::gap2, FileKind::kWave, u"ギャップ2", u"ギャップ2 : 不適切なwaveファイルです。",
     u"音源ギャップ2"},
    {u"idle", &VehicleProject::idle, FileKind::kWave, u"アイドリング",
     u"アイドリング : 不適切なwaveファイルです。", u"音源アイドル"},
    {u"vvvf", &VehicleProject::vvvf, FileKind::kWave, u"VVVF", u"VVVF : 不適切なwaveファイルです。",
     u"音源VVVF"},
    {u"comp", &VehicleProject::comp, FileKind::kWave, u"コンプレッサー",
     u"コンプレッサー : 不適切なwaveファイルです。", u"音源コンプレッサー"},
    {u"power", &VehicleProject::power, FileKind::kWave, u"電源車", u"電源車 : 不適切なwaveファイルです。",
     u"音源電源車"},
};

namespace {

// Bit depth 8, one of the allowed sizes, and (unless `any_colour`) a
// truecolour image.
FileCheck CheckPng(const std::vector<uint8_t>& data, const uint32_t (*sizes)[2], size_t count,
                   bool any_colour) {
  PngHeader h;
  if (!ReadPngSize(data.data(), data.size(), h)) return FileCheck::kWrongFormat;
  if (h.bit_depth != 8 || (!any_colour && !h.truecolour)) return FileCheck::kWrongFormat;
  for (size_t i = 0; i < count; ++i)
    if (h.width == sizes[i][0] && h.height == sizes[i][1]) return FileCheck::kOk;
  return FileCheck::kWrongFormat;
}

// RIFF WAVE, mono, 8 bits, 22,050 samples per second. The chunk walk stays
// inside both the RIFF size and the real file.
FileCheck CheckWave(const std::vector<uint8_t>& data) {
  const uint8_t* d = data.data();
  if (data.size() < 12 || std::memcmp(d, "RIFF", 4) != 0 || std::memcmp(d + 8, "WAVE", 4) != 0)
    return FileCheck::kWrongFormat;
  const uint64_t riff_end = 8 + uint64_t{LittleEndian32(d + 4)};
  const uint64_t limit = riff_end < data.size() ? riff_end : data.size();
  const uint8_t* fmt = nullptr;
  bool data_seen = false;
  uint32_t data_size = 0;
  uint64_t pos = 12;
  while (true) {
    if (pos + 8 > limit) return FileCheck::kWrongFormat;
    const uint8_t* chunk = d + pos;
    const uint32_t size = LittleEndian32(chunk + 4);
    if (pos + 8 + size > limit) return FileCheck::kWrongFormat;
    if (std::memcmp(chunk, "fmt ", 4) == 0) {
      if (size < 16) return FileCheck::kWrongFormat;
      fmt = chunk + 8;
      if (data_seen && data_size != 0) break;
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      data_seen = true;
      data_size = size;
      if (fmt) break;
    }
    pos += 8 + uint64_t{size} + (size & 1);
    if (pos >= riff_end) return FileCheck::kWrongFormat;
  }
  if (LittleEndian16(fmt + 2) != 1 || LittleEndian32(fmt + 4) != 22050 || LittleEndian16(fmt + 14) != 8)
    return FileCheck::kWrongFormat;
  return FileCheck::kOk;
}

}  // namespace

FileCheck CheckFileData(FileKind kind, const std::vector<uint8_t>& data) {
  static const uint32_t kMainSizes[][2] = {{512, 256}, {256, 256}};
  static const uint32_t kSideSize[][2] = {{200, 58}};
  static const uint32_t kSubSize[][2] = {{128, 128}};
  switch (kind) {
    case FileKind::kMainTexture:
      return CheckPng(data, kMainSizes, 2, false);
    case FileKind::kSideView:
      return CheckPng(data, kSideSize, 1, true);
    case FileKind::kSubTexture:
      return CheckPng(data, kSubSize, 1, false);
    case FileKind::kWave:
      return CheckWave(data);
  }
  return FileCheck::kWrongFormat;
}

bool SetFileField(VehicleProject& p, const FileField& field, std::u16string_view path, FileCheck* why) {
  PathText& target = p.*field.member;
  if (why) *why = FileCheck::kOk;
  if (path.empty()) {
    target.Clear();
    return true;
  }
  // The file checked is the one the stored (possibly cut) path names,
  // found from the project's folder; the path is stored as given.
  PathText candidate;
  candidate.Set(path);
  std::vector<uint8_t> data;
  // Images are read shared: Make data reads them again to check and embed
  // them. Sounds are larger and read again only once: not kept.
  const std::u16string file = ProjectPath(p, candidate.view());
  const bool read = field.kind == FileKind::kWave ? ReadWholeFile(file, data)
                                                  : FsReadSharedFile(file, data) && !data.empty();
  FileCheck result = read ? CheckFileData(field.kind, data) : FileCheck::kUnreadable;
  if (why) *why = result;
  if (result != FileCheck::kOk) return false;
  target = candidate;
  return true;
}

bool SetMainTexture(VehicleProject& p, std::u16string_view path) {
  return SetFileField(p, kImageFields[0], path);
}
bool SetSideView(VehicleProject& p, std::u16string_view path) {
  return SetFileField(p, kImageFields[1], path);
}
bool SetSubTexture(VehicleProject& p, std::u16string_view path) {
  return SetFileField(p, kImageFields[2], path);
}
