// Numbers as the data dialogs show and read them. Reading is strict about
// what the number is and lenient about how it was typed: blanks around it
// are dropped and full-width digits, signs and points (what a Japanese input
// method gives) count as their ASCII forms. The same on every build and in
// every locale.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// The text with blanks (space, tab, line ends, U+3000) trimmed at both ends
// and full-width digits, '+', '-', '.', 'e'/'E' and the minus sign U+2212
// turned into ASCII.
std::u16string NormaliseNumberText(std::u16string_view text);

// A decimal floating-point number that fills the whole text and fits a
// float (no infinity, no NaN). An empty text reads as 0. False leaves
// `value` alone.
bool ReadDialogFloat(std::u16string_view text, float& value);

// An optional sign and decimal digits filling the whole text, within the
// 32-bit range. False (also for an empty text) leaves `value` alone.
bool ReadDialogInt(std::u16string_view text, int32_t& value);

// printf's "%W.Df" of the value widened to double: `decimals` places, and
// blanks in front up to `width` characters.
std::u16string FormatDialogFloat(float value, int width, int decimals);
std::u16string FormatDialogInt(int32_t value);
