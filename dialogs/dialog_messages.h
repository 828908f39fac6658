// The dialogs' own check messages, shown with the caption "検証".
#pragma once
#include <cstdint>
#include <string>

#include "project/fixed_text.h"

// A number that does not read as one.
std::u16string NumberMessage(const char16_t* label);
// An integer that is no integer or lies outside its range.
std::u16string IntegerRangeMessage(const char16_t* label, int32_t low, int32_t high);
// A typed, chosen or dropped path longer than its field allows
// (`longest` characters).
std::u16string PathTooLongMessage(const char16_t* label, size_t longest = kPathCapacity - 1);

inline constexpr char16_t kContainersFullMessage[] = u"コンテナ位置は16箇所まで設定できます。";
