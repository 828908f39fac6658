#include "modelio/obj_text.h"

#include <algorithm>

#include "compiler/numbers.h"
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

size_t PrepareText(std::vector<uint8_t>& text) {
  uint8_t* p = text.data();
  uint8_t* end = p + text.size();
  while (p < end) {
    auto* nul = static_cast<uint8_t*>(std::memchr(p, 0, static_cast<size_t>(end - p)));
    if (!nul) break;
    *nul = '\n';
    p = nul + 1;
  }
  if (text.empty() || text.back() != '\n') text.push_back('\n');
  size_t length = text.size();
  text.resize(length + kTextPadding, '\n');
  return length;
}

std::u16string TokenText(const Token& token, size_t max_units) {
  std::u16string text = SjisToUtf16(reinterpret_cast<const char*>(token.begin), token.size());
  if (text.size() > max_units) text.resize(max_units);
  return text;
}

}  // namespace objtext
