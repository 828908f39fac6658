// Whether a workshop name can stand in the vehicle script. The name is
// decided once and for all, so a character the script cannot carry is
// refused when the name is entered, not at every Make data afterwards.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "project/script_characters.h"

// "工房名に使用できない文字が含まれています。(U+XXXX)\n..." for the
// character at `position`.
std::u16string UnscriptableCharacterMessage(std::u16string_view name, size_t position);
