// Section markers and the header commands: identity, category, names.
#include "compiler/commands.h"
#include "compiler/tokens.h"

namespace {

struct Category {
  const char16_t* word;
  uint32_t code;
};
const Category kCategories[] = {
    {u"蒸気機関車", 0x01}, {u"電気機関車", 0x02}, {u"ディーゼル機関車", 0x04}, {u"新幹線", 0x10},
    {u"普通電車", 0x20},   {u"特急電車", 0x21},   {u"急行電車", 0x22},         {u"普通気動車", 0x30},
    {u"特急気動車", 0x31}, {u"急行気動車", 0x32}, {u"特別列車", 0x40},         {u"寝台客車", 0x41},
    {u"客車", 0x42},       {u"貨車", 0x50},       {u"コンテナ", 0x51},         {u"試験車", 0x60},
    {u"事業車", 0x61},     {u"試作車", 0x62},     {u"都市交通", 0x70},
};

}  // namespace

void CmdMarker(VehicleCompiler& c, uint32_t code) { WriteMarker(c.stream, code); }

void CmdEndSetting(VehicleCompiler& c, uint32_t code) {
  if (c.preview.extension_flags != 0) {
    WriteRecordHeader(c.stream, 0x1025, 4);
    WriteU32(c.stream, c.preview.extension_flags);
  }
  WriteMarker(c.stream, code);
}

void CmdSection(VehicleCompiler& c, uint32_t code) {
  WriteRecordHeader(c.stream, code, 4);
  WriteU16(c.stream, 0x4851);
  WriteU16(c.stream, 400);
  WriteRecordHeader(c.stream, 0x100F, 8);
  WriteU32(c.stream, 0);
  WriteU32(c.stream, 0);
}

void CmdId(VehicleCompiler& c, uint32_t code) {
  int32_t id = CheckedInt(c, 1);
  WriteRecordHeader(c.stream, code, 2);
  WriteU16(c.stream, static_cast<uint16_t>(id));
}

void CmdType(VehicleCompiler& c, uint32_t code) {
  WriteRecordHeader(c.stream, code, 4);
  for (const Category& category : kCategories) {
    if (TokenIs(c, 1, category.word)) {
      WriteU32(c.stream, category.code);
      return;
    }
  }
  // The record stays without its data; the error fails the compilation.
  LogError(c, u" タイプが不適切\r\n");
}

void CmdName(VehicleCompiler& c, uint32_t code) {
  c.preview.vehicle_name = TokenText(c, 1, 64);
  WriteRecordHeader(c.stream, code, 128);
  WriteText(c.stream, 64, c.preview.vehicle_name);
}

void CmdShortName(VehicleCompiler& c, uint32_t code) {
  c.preview.short_name = TokenText(c, 1, 32);
  WriteRecordHeader(c.stream, code, 64);
  WriteText(c.stream, 32, c.preview.short_name);
}

void CmdCopyright(VehicleCompiler& c, uint32_t code) {
  WriteRecordHeader(c.stream, code, 256);
  WriteText(c.stream, 64, TokenText(c, 1));
  WriteText(c.stream, 64, TokenText(c, 2));
}

void CmdTypeNumber(VehicleCompiler& c, uint32_t code) {
  int32_t number = CheckedInt(c, 1);
  WriteRecordHeader(c.stream, code, 258);
  WriteU16(c.stream, static_cast<uint16_t>(number));
  WriteText(c.stream, 64, TokenText(c, 2));
  WriteText(c.stream, 64, TokenText(c, 3));
}
