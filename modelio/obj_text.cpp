#include "modelio/obj_text.h"

#include <algorithm>

#include "platform/numbers.h"
#include "platform/sjis.h"

namespace objtext {

double ParseNumberSlow(const uint8_t* begin, const uint8_t* end) {
  // A line holds at most 1,022 bytes, so any token fits.
  char buffer[1024];
  size_t n = std::min(static_cast<size_t>(end - begin), sizeof buffer - 1);
  std::memcpy(buffer, begin, n);
  buffer[n] = '\0';
  return ParseDouble(buffer);
}

float NextNumberGeneral(uint8_t*& cursor) {
  uint8_t* p = cursor;
  uint8_t c = ClassOf(*p);
  if (c != kToken) {
    if (c == kControl) ++p;  // an empty token
    cursor = p;
    return 0.0f;
  }
  uint8_t* begin = p;
  double value;
  bool fast = ParseNumberFast(p, value);
  while (ClassOf(*p) == kToken) ++p;
  if (!fast) value = ParseNumberSlow(begin, p);
  if (ClassOf(*p) != kLineEnd) ++p;
  cursor = p;
  return static_cast<float>(value);
}

std::u16string TokenText(const Token& token, size_t max_units) {
  std::u16string text = SjisToUtf16(reinterpret_cast<const char*>(token.begin), token.size());
  if (text.size() > max_units) text.resize(max_units);
  return text;
}

namespace {

// Strict UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF.
bool IsValidUtf8(const uint8_t* p, const uint8_t* end) {
  while (p < end) {
    uint8_t b = *p++;
    if (b < 0x80) continue;
    if (b < 0xC2 || b > 0xF4) return false;
    const int more = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : 1;
    uint32_t cp = b & (0x3Fu >> more);
    if (end - p < more) return false;
    for (int i = 0; i < more; ++i, ++p) {
      if ((*p & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (*p & 0x3F);
    }
    if ((more == 2 && cp < 0x800) || (more == 3 && (cp < 0x10000 || cp > 0x10FFFF))) return false;
    if (cp >= 0xD800 && cp <= 0xDFFF) return false;
  }
  return true;
}

}  // namespace

bool TokenTextUtf8(const Token& token, size_t max_units, std::u16string& text) {
  const bool ascii = std::all_of(token.begin, token.end, [](uint8_t b) { return b < 0x80; });
  if (ascii || !IsValidUtf8(token.begin, token.end)) return false;
  text = Utf8ToUtf16(std::string(reinterpret_cast<const char*>(token.begin), token.size()));
  if (text.size() > max_units) text.resize(max_units);
  return true;
}

}  // namespace objtext
