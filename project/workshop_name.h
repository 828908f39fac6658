// The check a workshop name passes before it is stored for good.
#pragma once
#include <string_view>

// Compared after lower-casing, whole names only.
extern const char16_t* const ReservedWorkshopNames[6];

inline constexpr char16_t kWorkshopBlankMessage[] = u"工房名が空欄または空白です。\n文字を入力してください。";
inline constexpr char16_t kWorkshopReservedMessage[] =
    u"工房名に使用できない名前が使われています。\n別の名前を設定してください。";

// 0 acceptable, 1 empty or starting with a blank, 2 a reserved name.
int CheckWorkshopName(std::u16string_view text);
