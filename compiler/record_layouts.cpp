#include "compiler/record_layouts.h"

#include <charconv>
#include <cstdio>
#include <cstring>

#include "platform/sjis.h"

namespace {

using K = FieldKind;

constexpr FieldLayout U16(const char* label) {
  return {K::kU16, 0, label};
}
constexpr FieldLayout Hex16(const char* label) {
  return {K::kHex16, 0, label};
}
constexpr FieldLayout I32(const char* label) {
  return {K::kInt32, 0, label};
}
constexpr FieldLayout F32(const char* label) {
  return {K::kF32, 0, label};
}
constexpr FieldLayout Text(uint8_t units, const char* label) {
  return {K::kText, units, label};
}
constexpr FieldLayout File(const char* label) {
  return {K::kFile, 0, label};
}
constexpr FieldLayout Of(FieldKind kind, const char* label) {
  return {kind, 0, label};
}

// Records with the same tag as their command unless noted; names in
// brackets are records that no single command writes.
const RecordLayout kLayouts[] = {
    {0x0001, "(end of stream)", {}},
    {0xF000, "BeginHeader", {}},
    {0xF001, "EndHeader", {}},
    {0xF002, "BeginSetting", {}},
    {0xF003, "EndSetting", {}},
    {0xF004, "BeginSound", {}},
    {0xF005, "EndSound", {}},
    {0xF006, "BeginModel", {}},
    {0xF007, "EndModel", {}},
    {0xF008, "(texture block begin)", {}},
    {0xF009, "(texture block end)", {}},
    {0xF00A, "BeginRes", {}},
    {0xF00B, "EndRes", {}},
    {0x1001, "SECTION", {Hex16("magic"), U16("version")}},
    {0x100F, "SECTION", {I32("reserved"), I32("reserved")}},
    {0x1002, "ID", {U16("id")}},
    {0x1003, "TYPE", {Of(K::kCategory, "category")}},
    {0x1004, "名称", {Text(64, "name")}},
    {0x1005, "短縮名", {Text(32, "short_name")}},
    {0x1006, "COPYRIGHT", {Text(64, "text1"), Text(64, "text2")}},
    {0x1007, "形式", {U16("number"), Text(64, "text1"), Text(64, "text2")}},
    {0x1013, "台車", {I32("bogie"), F32("position"), Of(K::kBogieKind, "kind")}},
    {0x1015, "連結器", {F32("x1"), F32("x2")}},
    {0x1016, "速度", {I32("speed")}},
    {0x1017, "運転台", {F32("x"), F32("y"), F32("z"), F32("direction")}},
    {0x1018, "動輪", {F32("x")}},
    {0x1019, "エミッター", {I32("number"), F32("x"), F32("y"), F32("z")}},
    {0x101B, "コンテナ位置", {I32("number"), F32("x"), F32("y"), F32("z")}},
    {0x1020, "ヘッドライト", {Of(K::kLampKind, "lamp"), F32("x"), F32("y"), F32("z"), F32("w")}},
    {0x1021, "テールライト", {Of(K::kLampKind, "lamp"), F32("x"), F32("y"), F32("z"), F32("w")}},
    {0x1022, "振り子", {F32("x"), I32("number")}},
    {0x1023, "車体反射", {F32("value")}},
    {0x1025, "車両拡張", {Of(K::kFlags, "flags")}},  // written by EndSetting
    {0x12F0, "ギャップ間隔", {F32("x1"), F32("x2")}},
    {0x1201, "音源ブレーキ", {I32("reserved"), File("wav")}},
    {0x1202, "音源警笛", {I32("reserved"), File("wav")}},
    {0x1203, "音源モーター基準", {I32("reserved"), File("wav")}},
    {0x1204, "音源モーター高速", {I32("reserved"), File("wav")}},
    {0x1205, "音源ギャップ1", {I32("reserved"), File("wav")}},
    {0x1206, "音源ギャップ2", {I32("reserved"), File("wav")}},
    {0x1207, "音源アイドル", {I32("reserved"), File("wav")}},
    {0x1208, "音源VVVF", {I32("reserved"), File("wav")}},
    {0x1209, "音源ドラフト1", {I32("reserved"), File("wav")}},
    {0x120A, "音源ドラフト2", {I32("reserved"), File("wav")}},
    {0x120B, "音源ドラフト3", {I32("reserved"), File("wav")}},
    {0x1210, "音源コンプレッサー", {I32("reserved"), File("wav")}},
    {0x1211, "音源電源車", {I32("reserved"), File("wav")}},
    {0x1300, "3D本体", {File("mesh")}},
    {0x1302, "3D屋根", {File("mesh")}},
    {0x1303, "3D窓", {File("mesh")}},
    {0x1307, "3D熱線窓", {File("mesh")}},
    {0x1304, "3D車内", {File("mesh")}},
    {0x1305, "3D字幕点灯", {File("mesh")}},
    {0x1306, "3D字幕サボ", {File("mesh")}},
    {0x1309, "3D字幕サボ2", {File("mesh")}},
    {0x130D, "3D字幕LED", {File("mesh")}},
    {0x1308, "3Dヘッドマーク", {File("mesh")}},
    {0x130A, "3DOPTION", {I32("option"), File("mesh")}},
    {0x130C, "3DOPTION2", {I32("option"), I32("kind"), File("mesh")}},
    {0x130B, "OPTIONINIT", {I32("option")}},
    {0x1310, "3D台車枠", {I32("frame"), File("mesh")}},
    {0x1311, "3D車輪", {I32("wheel"), F32("diameter"), File("mesh")}},
    {0x1312, "台車構造枠", {I32("bogie"), I32("frame")}},
    {0x1313, "台車構造車輪", {I32("bogie"), I32("wheel"), F32("x1"), F32("x2")}},
    {0x1320, "3D動輪", {I32("wheel"), File("mesh")}},
    {0x1330, "3Dパンタ", {File("mesh1"), File("mesh2")}},
    {0x1331, "PANTAINIT", {I32("value1"), I32("value2")}},
    {0x1340, "3Dヘッドライト", {F32("direction"), File("mesh")}},
    {0x1341, "3Dテールライト", {F32("direction"), File("mesh")}},
    {0x1342, "3D入換ライト", {File("mesh")}},
    {0x1350, "3Dコンテナ", {I32("number"), Text(32, "name"), File("file"), File("mesh")}},
    {0x1360, "MAINRENDERPARAM", {I32("value1"), I32("value2"), F32("value3"), F32("value4"), F32("value5")}},
    // The texture block carries what these commands stored.
    {0x1400,
     "テクスチャーINFO",
     {I32("bits"), U16("value1"), U16("value2"), U16("value3"), I32("width"), I32("height")}},
    {0x1420, "テクスチャーSIGN", {U16("value1"), U16("value2"), U16("value3"), I32("width"), I32("height")}},
    {0x1404, "PNGTEXMAIN", {I32("width"), I32("height"), File("png")}},
    {0x1412, "PNGTEXSIGN", {I32("width"), I32("height"), File("png")}},
    {0x1500, "形式CG", {File("image")}},
    {0x801000, "ContainerInfoBegin", {}},
    {0x8010FF, "ContainerInfoEnd", {}},
    {0x801001, "ContainerName", {Text(32, "name")}},
    {0x801002, "ContainerType", {I32("type")}},
    {0x801003, "ContainerLength", {F32("length")}},
    {0x801004, "ContainerSavetime", {Of(K::kTime64, "saved")}},
    {0x801005, "ContainerGuide", {Text(64, "guide")}},
    {0x801006, "ContainerMaker", {Text(16, "maker")}},
    {0x801007, "ContainerSize", {I32("size")}},
    {0x801020, "ContainerSideview", {I32("width"), I32("height"), File("png")}},
    {0x801100, "ContainerModelBegin", {}},
    {0x801101, "ContainerModelEnd", {U16("width"), U16("height"), File("png")}},
    {0x8011FF, "ContainerModelEnd", {}},
    {0x801FFF, "(container texture end)", {}},
    {0x801102, "ContainerOBJMain", {File("mesh")}},
};

struct CodeName {
  uint32_t code;
  const char* name;
};
const CodeName kCategoryNames[] = {
    {0x01, "蒸気機関車"}, {0x02, "電気機関車"}, {0x04, "ディーゼル機関車"}, {0x10, "新幹線"},
    {0x20, "普通電車"},   {0x21, "特急電車"},   {0x22, "急行電車"},         {0x30, "普通気動車"},
    {0x31, "特急気動車"}, {0x32, "急行気動車"}, {0x40, "特別列車"},         {0x41, "寝台客車"},
    {0x42, "客車"},       {0x50, "貨車"},       {0x51, "コンテナ"},         {0x60, "試験車"},
    {0x61, "事業車"},     {0x62, "試作車"},     {0x70, "都市交通"},
};
const CodeName kBogieKindNames[] = {{0, "回転"}, {1, "中間"}, {2, "固定"}};
const CodeName kLampKindNames[] = {{0, "電球"}, {1, "シールドビーム"}, {2, "LED"}};

template <size_t N>
const char* NameOf(const CodeName (&table)[N], uint32_t code) {
  for (const CodeName& row : table) {
    if (row.code == code) return row.name;
  }
  return "(unknown)";
}

std::string Hex(uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
  return text;
}

std::string FloatText(uint32_t bits) {
  float value;
  std::memcpy(&value, &bits, 4);
  char text[32];
  // Shortest text that reads back as the same float, on every build.
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

// The units up to the first NUL, with quotes, backslashes and control
// characters escaped so a hostile text cannot steer the terminal.
std::string QuotedText(const uint8_t* p, size_t units) {
  std::u16string text;
  for (size_t i = 0; i < units; ++i) {
    const char16_t u = ReadLe16(p + 2 * i);
    if (u == 0) break;
    if (u == u'"' || u == u'\\') {
      text.push_back(u'\\');
      text.push_back(u);
    } else if (u < 0x20 || (u >= 0x7F && u <= 0x9F)) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(u));
      for (const char* e = escape; *e; ++e) text.push_back(static_cast<char16_t>(*e));
    } else {
      text.push_back(u);
    }
  }
  return "\"" + Utf16ToUtf8(text) + "\"";
}

// Calendar date of a day count from 1970-01-01 (proleptic Gregorian).
void CivilFromDays(int64_t days, int64_t& year, int& month, int& day) {
  days += 719468;
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const int64_t doe = days - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = yoe + era * 400 + (month <= 2 ? 1 : 0);
}

std::string TimeText(int64_t seconds) {
  // Beyond a few million years the date says nothing; keep the arithmetic
  // far from overflow.
  if (seconds < -(int64_t(1) << 46) || seconds > (int64_t(1) << 46)) return std::to_string(seconds);
  int64_t days = seconds / 86400, rest = seconds % 86400;
  if (rest < 0) {
    rest += 86400;
    --days;
  }
  int64_t year;
  int month, day;
  CivilFromDays(days, year, month, day);
  char text[80];
  std::snprintf(text, sizeof text, "%lld (%04lld-%02d-%02d %02d:%02d:%02d UTC)",
                static_cast<long long>(seconds), static_cast<long long>(year), month, day,
                static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60), static_cast<int>(rest % 60));
  return text;
}

size_t FixedBytes(const FieldLayout& f) {
  switch (f.kind) {
    case K::kU16:
    case K::kHex16:
      return 2;
    case K::kText:
      return 2 * size_t{f.units};
    case K::kTime64:
      return 8;
    case K::kNone:
      return 0;
    default:
      return 4;  // u32 and f32 numbers, and the size before a file
  }
}

// `p` holds FixedBytes(f) bytes of the field.
std::string FieldValue(const FieldLayout& f, const uint8_t* p) {
  const size_t bytes = FixedBytes(f);
  const uint32_t u32 = bytes >= 4 ? ReadLe32(p) : 0;
  switch (f.kind) {
    case K::kU16:
      return std::to_string(ReadLe16(p));
    case K::kHex16:
      return Hex(ReadLe16(p));
    case K::kInt32:
      return std::to_string(static_cast<int32_t>(u32));
    case K::kF32:
      return FloatText(u32);
    case K::kText:
      return QuotedText(p, f.units);
    case K::kFile:
      return std::to_string(u32) + " bytes";
    case K::kTime64:
      return TimeText(static_cast<int64_t>(uint64_t{u32} | uint64_t{ReadLe32(p + 4)} << 32));
    case K::kCategory:
      return Hex(u32) + " " + NameOf(kCategoryNames, u32);
    case K::kBogieKind:
      return std::to_string(u32) + " " + NameOf(kBogieKindNames, u32);
    case K::kLampKind:
      return std::to_string(u32) + " " + NameOf(kLampKindNames, u32);
    case K::kFlags: {
      std::string text = Hex(u32);
      if (u32 & 1) text += " LEDTAILFR";
      if (u32 & 2) text += (u32 & 1) ? "|LEDTAILBK" : " LEDTAILBK";
      return text;
    }
    case K::kNone:
      break;
  }
  return "";
}

DecodedField DecodeField(const FieldLayout& f, const uint8_t* p) {
  DecodedField d;
  d.label = f.label;
  d.kind = f.kind;
  d.display = FieldValue(f, p);
  const uint32_t u32 = FixedBytes(f) >= 4 ? ReadLe32(p) : 0;
  switch (f.kind) {
    case K::kU16:
    case K::kHex16:
      d.integer = ReadLe16(p);
      break;
    case K::kInt32:
      d.integer = static_cast<int32_t>(u32);
      break;
    case K::kF32: {
      float value;
      std::memcpy(&value, &u32, 4);
      d.real = value;
      break;
    }
    case K::kText: {
      std::u16string text;
      for (size_t i = 0; i < f.units && ReadLe16(p + 2 * i) != 0; ++i) text.push_back(ReadLe16(p + 2 * i));
      d.text = Utf16ToUtf8(text);
      break;
    }
    case K::kTime64:
      d.integer = static_cast<int64_t>(uint64_t{u32} | uint64_t{ReadLe32(p + 4)} << 32);
      break;
    default:
      d.integer = u32;  // codes, flags and embedded sizes
  }
  return d;
}

}  // namespace

const RecordLayout* FindRecordLayout(uint32_t tag) {
  for (const RecordLayout& layout : kLayouts) {
    if (layout.tag == tag) return &layout;
  }
  return nullptr;
}

const RecordLayout* RecordLayouts(size_t* count) {
  *count = sizeof kLayouts / sizeof kLayouts[0];
  return kLayouts;
}

bool DecodeRecordFieldList(const RecordLayout& layout, const RecordView& record,
                           std::vector<DecodedField>& fields, std::string& error) {
  fields.clear();
  size_t at = 0;
  const size_t length = record.length;
  for (const FieldLayout& f : layout.fields) {
    if (f.kind == K::kNone) break;
    const size_t need = FixedBytes(f);
    if (need > length - at) {
      error = "length " + std::to_string(length) + " ends inside field '" + f.label + "'";
      return false;
    }
    fields.push_back(DecodeField(f, record.data + at));
    at += need;
    if (f.kind == K::kFile) {
      const uint32_t size = ReadLe32(record.data + at - 4);
      if (size > length - at) {
        error = "embedded size " + std::to_string(size) + " of '" + f.label + "' runs past the record (" +
                std::to_string(length - at) + " bytes left)";
        return false;
      }
      at += size;
    }
  }
  if (at != length) {
    error = "length " + std::to_string(length) + " but the fields take " + std::to_string(at);
    return false;
  }
  return true;
}

bool DecodeRecordFields(const RecordLayout& layout, const RecordView& record, std::string& fields,
                        std::string& error) {
  std::vector<DecodedField> list;
  const bool fits = DecodeRecordFieldList(layout, record, list, error);
  fields.clear();
  for (const DecodedField& f : list) {
    if (!fields.empty()) fields += "  ";
    fields += std::string(f.label) + "=" + f.display;
  }
  return fits;
}

bool RecordFitsLayout(const RecordView& record, std::string& error) {
  const RecordLayout* layout = FindRecordLayout(record.tag);
  std::vector<DecodedField> fields;
  return !layout || DecodeRecordFieldList(*layout, record, fields, error);
}

bool FormatRecordLine(const RecordView& record, std::string& line) {
  char head[64];
  std::snprintf(head, sizeof head, "%08llX  %-9s %9u  ", static_cast<unsigned long long>(record.offset),
                Hex(record.tag).c_str(), static_cast<unsigned>(record.length));
  line = head;
  const RecordLayout* layout = FindRecordLayout(record.tag);
  if (!layout) {
    line += "(unknown record)";
    return true;
  }
  line += layout->name;
  std::string fields, error;
  const bool fits = DecodeRecordFields(*layout, record, fields, error);
  if (!fields.empty()) line += "  " + fields;
  if (!fits) line += "  !! " + error;
  return fits;
}

const char* RecordListingHeading() {
  return "offset    tag          length  record";
}
