#include "dialogs/about_text.h"

namespace {

std::u16string Hex4(uint16_t value) {
  static const char16_t kDigits[] = u"0123456789abcdef";
  std::u16string out(4, u'0');
  for (int i = 3; i >= 0; --i, value = static_cast<uint16_t>(value >> 4)) out[i] = kDigits[value & 0xF];
  return out;
}

}  // namespace

const std::vector<VersionTranslation>& VersionLookupOrder() {
  static const std::vector<VersionTranslation> order = [] {
    std::vector<VersionTranslation> v;
    v.push_back({0x0411, 1200});
    const uint16_t code_pages[] = {0, 932, 949, 950, 1200, 1250, 1251, 1252, 1253, 1254, 1255, 1256};
    std::vector<uint16_t> languages;
    for (uint16_t l = 0x0401; l <= 0x0421; ++l) languages.push_back(l);
    for (uint16_t l :
         {0x0804, 0x0807, 0x0809, 0x080A, 0x080C, 0x0810, 0x0813, 0x0814, 0x0816, 0x081A, 0x0C0C, 0x100C})
      languages.push_back(l);
    for (uint16_t cp : code_pages)
      for (uint16_t l : languages) v.push_back({l, cp});
    return v;
  }();
  return order;
}

std::u16string VersionStringKey(VersionTranslation t, const std::u16string& name) {
  return u"\\StringFileInfo\\" + Hex4(t.language) + Hex4(t.code_page) + u"\\" + name;
}

std::u16string AboutText(const std::u16string& product, const std::u16string& version,
                         const std::u16string& copyright) {
  std::u16string text = product + u"\r\nVersion " + version + u"\r\n" + copyright + u"\r\n";
  if (text.size() > 2048) text.resize(2048);
  return text;
}
