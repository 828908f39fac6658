#include "project/workshop_name.h"

#include <string>

const char16_t* const ReservedWorkshopNames[6] = {u"o.rvell", u"orvell", u"tam", u"zek", u"zek5", u"halvane"};

int CheckWorkshopName(std::u16string_view text) {
  // Only the first character counts as a blank; U+3000 is not one.
  if (text.empty() || text[0] == 0 || text[0] == u' ' || (text[0] >= 0x2000 && text[0] <= 0x200F)) return 1;
  std::u16string lower(text.substr(0, 127));
  for (char16_t& c : lower)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  for (const char16_t* reserved : ReservedWorkshopNames)
    if (lower == reserved) return 2;
  return text.size() > kWorkshopNameLongest ? 3 : 0;
}
