#include "compiler/tokens.h"

#include <cstring>

#include "platform/numbers.h"
#include "platform/sjis.h"

std::u16string TokenText(const VehicleCompiler& c, int i) {
  const char* t = TokenBytes(c, i);
  return SjisToUtf16(t, std::strlen(t));
}

std::u16string TokenText(const VehicleCompiler& c, int i, size_t max_units) {
  std::u16string text = TokenText(c, i);
  if (text.size() > max_units) text.resize(max_units);
  return text;
}

int32_t TokenInt(const VehicleCompiler& c, int i) { return ParseInt32(TokenBytes(c, i)); }
double TokenDouble(const VehicleCompiler& c, int i) { return ParseDouble(TokenBytes(c, i)); }
float TokenFloat(const VehicleCompiler& c, int i) { return static_cast<float>(TokenDouble(c, i)); }

float TokenScaled(const VehicleCompiler& c, int i) {
  return static_cast<float>(TokenDouble(c, i) * static_cast<double>(c.length_scale));
}

int32_t CheckedInt(VehicleCompiler& c, int i) {
  if (!HasToken(c, i)) {
    LogError(c, u"エラー：TOKEN NULL\r\n");
    return -1;
  }
  return TokenInt(c, i);
}

bool TokenIs(const VehicleCompiler& c, int i, const char16_t* word) {
  return HasToken(c, i) && TokenText(c, i) == word;
}
