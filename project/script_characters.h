// Which characters a project text can carry into the vehicle script: the
// one rule the script writer, the dialogs and the workshop name share.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// Position of the first character that cannot stand between the script's
// quotes (a control character, a double quote, or one without a Shift-JIS
// form); npos when every character can. A character outside the BMP is
// found at its first unit.
size_t FindUnscriptableCharacter(std::u16string_view text);

// The code point at `position` as "U+00E9" or "U+1F600"; a surrogate pair
// counts as the one character it encodes.
std::u16string CharacterCode(std::u16string_view text, size_t position);

// "スクリプトに書けない文字が含まれています。(U+XXXX)" for the character at
// `position`.
std::u16string UnscriptableCharacterText(std::u16string_view text, size_t position);
