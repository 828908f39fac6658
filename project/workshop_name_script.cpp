#include "project/workshop_name_script.h"

#include "platform/sjis.h"

size_t FindUnscriptableCharacter(std::u16string_view name) {
  for (size_t i = 0; i < name.size(); ++i)
    if (name[i] < 0x20 || name[i] == u'"') return i;
  std::string sjis;
  size_t bad = 0;
  if (!Utf16ToSjis(std::u16string(name), sjis, &bad)) return bad;
  return std::u16string_view::npos;
}

std::u16string UnscriptableCharacterMessage(std::u16string_view name, size_t position) {
  static const char kHex[] = "0123456789ABCDEF";
  const char16_t c = position < name.size() ? name[position] : 0;
  std::u16string code = u"U+";
  for (int shift = 12; shift >= 0; shift -= 4) code.push_back(static_cast<char16_t>(kHex[(c >> shift) & 15]));
  return u"工房名に使用できない文字が含まれています。(" + code + u")\n別の文字を使用してください。";
}
