// The check a workshop name passes before it is stored for good.
#pragma once
#include <cstddef>
#include <string_view>

// Compared after lower-casing, whole names only.
extern const char16_t* const ReservedWorkshopNames[6];

inline constexpr char16_t kWorkshopBlankMessage[] = u"工房名が空欄または空白です。\n文字を入力してください。";
inline constexpr char16_t kWorkshopReservedMessage[] =
    u"工房名に使用できない名前が使われています。\n別の名前を設定してください。";

inline constexpr char16_t kWorkshopTooLongMessage[] = u"工房名が長すぎます。\n63文字以内で入力してください。";

// The most UTF-16 units a workshop name may have: its field and its record
// text keep 63 and a terminator.
constexpr size_t kWorkshopNameLongest = 63;

enum class WorkshopNameCheck {
  kOk,
  kBlank,     // empty or starting with a blank
  kReserved,  // a reserved name
  kTooLong,   // longer than kWorkshopNameLongest (refused, never cut)
};

WorkshopNameCheck CheckWorkshopName(std::u16string_view text);
// The message that tells the user what is wrong; null for kOk.
const char16_t* WorkshopNameMessage(WorkshopNameCheck check);
