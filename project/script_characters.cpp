#include "project/script_characters.h"

#include <cstdint>

#include "platform/sjis.h"

size_t FindUnscriptableCharacter(std::u16string_view text) {
  for (size_t i = 0; i < text.size(); ++i)
    if (text[i] < 0x20 || text[i] == u'"') return i;
  std::string sjis;
  size_t bad = 0;
  if (!Utf16ToSjis(std::u16string(text), sjis, &bad)) return bad;
  return std::u16string_view::npos;
}

std::u16string CharacterCode(std::u16string_view text, size_t position) {
  uint32_t code = position < text.size() ? text[position] : 0;
  if (code >= 0xD800 && code <= 0xDBFF && position + 1 < text.size() && text[position + 1] >= 0xDC00 &&
      text[position + 1] <= 0xDFFF)
    code = 0x10000 + ((code - 0xD800) << 10) + (text[position + 1] - 0xDC00u);
  static const char kHex[] = "0123456789ABCDEF";
  std::u16string digits;
  for (int shift = 20; shift >= 0; shift -= 4) {
    const char16_t digit = static_cast<char16_t>(kHex[(code >> shift) & 15]);
    if (digit != u'0' || !digits.empty() || shift < 16) digits.push_back(digit);
  }
  return u"U+" + digits;
}

std::u16string UnscriptableCharacterText(std::u16string_view text, size_t position) {
  return u"スクリプトに書けない文字が含まれています。(" + CharacterCode(text, position) + u")";
}
