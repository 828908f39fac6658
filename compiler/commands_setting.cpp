// Setting commands: scale, bogies, couplers, speed, cabs, lights, places.
#include "compiler/commands.h"
#include "compiler/tokens.h"

namespace {

uint32_t LampKind(const VehicleCompiler& c) {
  if (TokenIs(c, 1, u"シールドビーム")) return 1;
  if (TokenIs(c, 1, u"LED")) return 2;
  return 0;  // "電球" and any word not in the table
}

void WriteFloats(VehicleCompiler& c, std::initializer_list<float> values) {
  for (float v : values) WriteF32(c.stream, v);
}

}  // namespace

void CmdTec(VehicleCompiler& c, uint32_t) { c.length_scale = TokenFloat(c, 1); }

void CmdBogie(VehicleCompiler& c, uint32_t code) {
  uint32_t index = static_cast<uint32_t>(TokenInt(c, 1));
  if (index > 7) {
    LogError(c, u"台車IDが異常\r\n");
    return;
  }
  PreviewState& p = c.preview;
  if (index + 1 > p.bogie_count) p.bogie_count = index + 1;
  p.bogies[index].index = static_cast<int32_t>(index);
  p.bogies[index].position = TokenScaled(c, 2);
  uint32_t kind;
  if (TokenIs(c, 3, u"回転")) {
    kind = 0;
  } else if (TokenIs(c, 3, u"中間")) {
    kind = 1;
  } else if (TokenIs(c, 3, u"固定")) {
    kind = 2;
  } else {
    LogError(c, u" タイプが不適切\r\n");
    return;
  }
  WriteRecordHeader(c.stream, code, 12);
  WriteU32(c.stream, index);
  WriteF32(c.stream, p.bogies[index].position);
  WriteU32(c.stream, kind);
}

void CmdCoupler(VehicleCompiler& c, uint32_t code) {
  WriteRecordHeader(c.stream, code, 8);
  WriteFloats(c, {TokenScaled(c, 1), TokenScaled(c, 2)});
}

void CmdSpeed(VehicleCompiler& c, uint32_t code) {
  int32_t speed = CheckedInt(c, 1);
  WriteRecordHeader(c.stream, code, 4);
  WriteU32(c.stream, static_cast<uint32_t>(speed));
}

void CmdTilt(VehicleCompiler& c, uint32_t code) {
  float angle = TokenFloat(c, 1);
  int32_t value = CheckedInt(c, 2);
  WriteRecordHeader(c.stream, code, 8);
  WriteF32(c.stream, angle);
  WriteU32(c.stream, static_cast<uint32_t>(value));
}

void CmdCab(VehicleCompiler& c, uint32_t code) {
  WriteRecordHeader(c.stream, code, 16);
  WriteFloats(c, {TokenScaled(c, 1), TokenScaled(c, 2), TokenScaled(c, 3), TokenFloat(c, 4)});
}

void CmdDrivingWheel(VehicleCompiler& c, uint32_t code) {
  WriteRecordHeader(c.stream, code, 4);
  WriteF32(c.stream, TokenScaled(c, 1));
}

void CmdEmitter(VehicleCompiler& c, uint32_t code) {
  WriteRecordHeader(c.stream, code, 16);
  WriteU32(c.stream, static_cast<uint32_t>(TokenInt(c, 1)));
  WriteFloats(c, {TokenScaled(c, 2), TokenScaled(c, 3), TokenScaled(c, 4)});
}

void CmdLight(VehicleCompiler& c, uint32_t code) {
  WriteRecordHeader(c.stream, code, 20);
  WriteU32(c.stream, LampKind(c));
  WriteFloats(c, {TokenScaled(c, 2), TokenScaled(c, 3), TokenScaled(c, 4), TokenFloat(c, 5)});
}

void CmdContainerPosition(VehicleCompiler& c, uint32_t code) {
  PreviewContainerPosition place;
  place.number = static_cast<uint32_t>(TokenInt(c, 1));
  place.x = TokenScaled(c, 2);
  place.y = TokenScaled(c, 3);
  place.z = TokenScaled(c, 4);
  WriteRecordHeader(c.stream, code, 16);
  WriteU32(c.stream, place.number);
  WriteFloats(c, {place.x, place.y, place.z});
  // The record is written for every line; the preview keeps the first 64.
  if (c.preview.container_positions.size() < kMaxContainerPositions)
    c.preview.container_positions.push_back(place);
}

void CmdBodyReflection(VehicleCompiler& c, uint32_t code) {
  WriteRecordHeader(c.stream, code, 4);
  WriteF32(c.stream, TokenFloat(c, 1));
}

void CmdVehicleExtension(VehicleCompiler& c, uint32_t) {
  if (TokenIs(c, 1, u"LEDTAILFR")) {
    c.preview.extension_flags |= 1;
  } else if (TokenIs(c, 1, u"LEDTAILBK")) {
    c.preview.extension_flags |= 2;
  } else {
    LogError(c, u" 車両拡張タイプが不適切\r\n");
  }
}

void CmdGapInterval(VehicleCompiler& c, uint32_t code) {
  WriteRecordHeader(c.stream, code, 8);
  WriteFloats(c, {TokenFloat(c, 1), TokenFloat(c, 2)});
}
