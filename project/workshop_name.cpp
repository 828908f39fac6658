#include "project/workshop_name.h"

#include <string>

#include "platform/ascii_case.h"

const char16_t* const ReservedWorkshopNames[6] = {u"o.rvell", u"orvell", u"tam", u"zek", u"zek5", u"halvane"};

WorkshopNameCheck CheckWorkshopName(std::u16string_view text) {
  // Only the first character counts as a blank; U+3000 is not one.
  if (text.empty() || text[0] == 0 || text[0] == u' ' || (text[0] >= 0x2000 && text[0] <= 0x200F))
    return WorkshopNameCheck::kBlank;
  const std::u16string lower = AsciiLowered(text.substr(0, 127));
  for (const char16_t* reserved : ReservedWorkshopNames)
    if (lower == reserved) return WorkshopNameCheck::kReserved;
  return text.size() > kWorkshopNameLongest ? WorkshopNameCheck::kTooLong : WorkshopNameCheck::kOk;
}

const char16_t* WorkshopNameMessage(WorkshopNameCheck check) {
  switch (check) {
    case WorkshopNameCheck::kBlank:
      return kWorkshopBlankMessage;
    case WorkshopNameCheck::kReserved:
      return kWorkshopReservedMessage;
    case WorkshopNameCheck::kTooLong:
      return kWorkshopTooLongMessage;
    default:
      return nullptr;
  }
}
